// The price axis on the right of the plot: labels at round prices, steps of
// 1, 2, 2.5 or 5 times a power of ten chosen so the labels stand apart.
#pragma once

#include <cairo.h>

#include <vector>

#include "host/chart.h"
#include "host/picture/axis_tags.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

// The smallest round step that keeps labels at least `minDistance_px` apart
// over `height_px` pixels showing `priceRange`; 1 for an empty range.
double roundPriceStep(double priceRange, double height_px, double minDistance_px);

struct PriceTicks {
  double step;
  std::vector<double> prices;  // multiples of step inside the range, rising
};
PriceTicks choosePriceTicks(const PictureLayout& layout);

// Labels with as many decimals as the step and tick size need; a label a
// price tag would cover is left out.
void drawPriceAxis(cairo_t* cr, const Chart& chart, const PriceTicks& ticks,
                   const std::vector<PlacedTag>& tags, const PictureLayout& layout);

}  // namespace chart_host
