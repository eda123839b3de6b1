// The title bar above the plot: the caller's title, then the newest bar's
// open, high, low and close and its change from the bar before; at its right
// end how old the levels are and, when they are not live, a red warning.
#pragma once

#include <cairo.h>

#include "host/chart.h"
#include "host/picture/chart_picture.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

void drawTitleBar(cairo_t* cr, const Chart& chart, const ChartPictureOptions& options,
                  const PictureLayout& layout);

}  // namespace chart_host
