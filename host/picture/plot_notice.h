// A notice across the middle of the plot, for a chart that has nothing to
// show where a person would look for levels: why, in one line in a box.
#pragma once

#include <cairo.h>

#include <string>

#include "host/chart.h"

namespace chart_host {

// Draws nothing for an empty text.
void drawPlotNotice(cairo_t* cr, const std::string& text, const PlotArea& plot);

}  // namespace chart_host
