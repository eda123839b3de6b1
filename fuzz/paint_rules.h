// What one repaint may paint, read from the settings it runs with: the plot,
// which series' bars (told apart by colour) in which style, which prior dots
// and in what shape and size. Worked out from the settings alone, not from
// the drawing code.
#pragma once

#include <array>
#include <cstdint>

#include "fuzz/picked_settings.h"

namespace fuzz {

struct PaintRules {
  PlotArea plot;
  std::array<bool, kSeriesCount> seriesDrawn{};
  std::array<int32_t, kSeriesCount> barStyles{};
  std::array<bool, kPriorDotCount> dotsDrawn{};
  int32_t dotStyle = 0;
  int32_t dotRadius = 1;
  // Series passes over the strikes (two when GEX volume and OI share a plot);
  // the prior dot of a strike's first prior, -1 when no priors are drawn.
  int32_t passes = 0;
  int32_t firstDot = -1;
};

PaintRules paintRulesOf(const DrawingSettings& settings);

// The drawn series, by settings index, whose colour is `color`; -1 for none.
int32_t seriesOfColor(const PaintRules& rules, HostColor color);
// Whether `color` belongs to a prior dot that may be drawn.
bool isDrawnDotColor(const PaintRules& rules, HostColor color);

// Whether the plot has room for anything: the study draws nothing on a plot
// without width or whose right or bottom edge is at or before pixel 0, and
// bars and dots need a pixel row strictly between the top and the bottom.
bool plotHasRoom(const PlotArea& plot);

}  // namespace fuzz
