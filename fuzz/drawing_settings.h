// The chart and input settings a parsed snapshot is painted and turned into
// level lines with. They are picked from the snapshot's timestamp: mutating
// the rows keeps the settings, mutating the timestamp tries other settings on
// the same rows, and the same input always draws the same way.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "host/chart.h"
#include "study/host_interface.h"

using namespace chart_host;

namespace fuzz {

// Which parser the snapshot came from; it decides which kinds are tried most.
enum class SnapshotSource { Gex, Greek };

// The eight profile series in input order: call/put GEX volume, call/put GEX
// OI, positive/negative delta, long/short gamma.
inline constexpr int32_t kSeriesCount = 8;
// The eleven prior-dot switches: five GEX, three delta, three gamma.
inline constexpr int32_t kPriorDotCount = 11;

struct DrawingSettings {
  int32_t kind;        // "Greek" input, 0..7
  int32_t gexDisplay;  // 0 volume, 1 OI, 2 both
  int32_t direction;   // 0 right, 1 left, 2 by sign, others as by sign
  int32_t originPercent;
  int32_t scalePercent;
  bool logarithmic;
  int32_t barWidthTicks;
  std::array<int32_t, kSeriesCount> barStyles;
  std::array<int32_t, kSeriesCount> filters;
  std::array<int32_t, 4> offsetTicks;  // GEX volume, GEX OI, delta, gamma
  std::array<bool, kPriorDotCount> priorDotsShown;
  int32_t dotStyle;
  float dotSize;
  int32_t dotRadius;  // the radius in pixels that dotSize must give
  float additive;
  float multiplier;  // always above 0, as the study keeps it
  PlotArea plot;
  float lowPrice;
  float highPrice;
  float tickSize;
  bool labelsShown;
  int32_t labelFormat;
  int32_t labelHorizontal;  // 0 left, 1 right, 2 centre
  int32_t labelVertical;    // 0 top, 1 bottom, 2 centre
  bool copyToOtherCharts;
  std::array<bool, 7> levelsShown;
};

// Every series and prior dot gets a colour of its own, so a painted shape
// tells which series or dot drew it.
HostColor seriesColor(int32_t series);
HostColor priorDotColor(int32_t dot);

// The settings for a snapshot with this timestamp; the price range is fitted
// to `strikes` on some picks, so bars land in the plot.
DrawingSettings pickDrawingSettings(int32_t timestamp, SnapshotSource source,
                                    std::span<const float> strikes);

}  // namespace fuzz
