// The time axis under the plot: labels at round times (HH:MM) of the bars
// shown, and the date where the day changes. The step is the smallest round
// one whose labels stand far enough apart; labels that would still touch are
// dropped, a date before a time.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "host/chart.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

struct TimeTick {
  double x;  // the bar's centre
  std::string text;
  bool isDate;
};

std::vector<TimeTick> chooseTimeTicks(cairo_t* cr, const Chart& chart, const PictureLayout& layout);
void drawTimeAxis(cairo_t* cr, const std::vector<TimeTick>& ticks, const PictureLayout& layout);

}  // namespace chart_host
