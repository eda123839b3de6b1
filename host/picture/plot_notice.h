// A notice across the middle of the plot, for a chart that has nothing to
// show where a person would look for levels: why, in one line in a box. And
// banners at the top of the plot for what must be read while levels show.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "host/chart.h"

namespace chart_host {

// Draws nothing for an empty text.
void drawPlotNotice(cairo_t* cr, const std::string& text, const PlotArea& plot);

// One line each, centred, from row `top` down, in the warning colour.
void drawPlotBanners(cairo_t* cr, const std::vector<std::string>& banners, const PlotArea& plot, double top);

}  // namespace chart_host
