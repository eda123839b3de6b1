// The title bar above the plot: the caller's title, then the newest bar's
// open, high, low and close and its change from the bar before.
#pragma once

#include <cairo.h>

#include <string>

#include "host/chart.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

void drawTitleBar(cairo_t* cr, const Chart& chart, const std::string& title,
                  const PictureLayout& layout);

}  // namespace chart_host
