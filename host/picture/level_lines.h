// The chart's horizontal-line drawings: a line across the plot at its price
// in its colour, width and style (solid, dash, dot), its label placed by the
// alignment flags in its font size, on a box unless the background is
// transparent, and a price tag for the axis. Labels that would cover one
// another move to the line's other side or inwards.
#pragma once

#include <cairo.h>

#include <vector>

#include "host/chart.h"
#include "host/picture/axis_tags.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

// Draws the lines lying inside the plot and adds a tag for each line to
// `tags`, for those off the scale too.
void drawLevelLines(cairo_t* cr, const Chart& chart, const PictureLayout& layout,
                    std::vector<AxisTag>& tags);

}  // namespace chart_host
