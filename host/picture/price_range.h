// The prices a chart picture spans: the bars shown, with a small margin,
// widened to take in levels that lie near them. A level far from the bars
// (more than the bars' own range beyond them) is left off the scale rather
// than squashing the candles into a thin band.
#pragma once

#include <span>

#include "host/chart.h"

namespace chart_host {

struct PriceRange {
  float low;
  float high;
};

// `levels` may hold values that are not finite; those are ignored. Without
// bars the levels alone are fitted; without either the range is 0..1.
PriceRange fitPriceRange(std::span<const Bar> shownBars, std::span<const float> levels,
                         float tickSize);

}  // namespace chart_host
