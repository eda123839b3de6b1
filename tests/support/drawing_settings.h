// Everything a person sets that changes how the study draws a snapshot: the
// inputs of its profile bars, prior dots and level lines, and the chart's
// plot, price range and tick size. Every series and prior dot gets a colour of
// its own, so a painted shape tells which series or dot drew it.
#pragma once

#include <array>
#include <cstdint>

#include "host/chart.h"
#include "study/host_interface.h"

using namespace chart_host;

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

HostColor seriesColor(int32_t series);
HostColor priorDotColor(int32_t dot);
