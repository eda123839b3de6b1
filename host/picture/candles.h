// The price bars as candlesticks: a one-pixel wick from high to low and a
// body from open to close, in the up colour when the bar closed at or above
// its open and the down colour otherwise. Bars with a price that is not a
// number are left out.
#pragma once

#include <cairo.h>

#include "host/chart.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

// The colour a bar is drawn in.
HostColor candleColor(const Bar& bar);

// Draws the bars shown; the caller clips to the plot.
void drawCandles(cairo_t* cr, const Chart& chart, const PictureLayout& layout);

}  // namespace chart_host
