// The title bar above the plot: the caller's title, then the newest bar's
// open, high, low and close and its change from the bar before; at its right
// end how old the levels are and, when they are not live, a red warning.
// Nothing is cut mid-text: a title too long for the room gives way to the
// first of its shorter forms that fits, the quote to the close alone or to
// nothing.
#pragma once

#include <cairo.h>

#include <string>

#include "host/chart.h"
#include "host/picture/chart_picture.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

// The title as the bar shows it: the title or the first of its shorter
// forms that fits whole before the levels' age; empty when none does.
std::string shownTitle(cairo_t* cr, const ChartPictureOptions& options, const PictureLayout& layout);

void drawTitleBar(cairo_t* cr, const Chart& chart, const ChartPictureOptions& options,
                  const PictureLayout& layout);

}  // namespace chart_host
