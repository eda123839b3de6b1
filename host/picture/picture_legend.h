// The legend at the top left of the plot: what each colour on the chart is,
// and only what is on it. The study's bars and dots are named by the colour
// inputs they are drawn from (see study_graphics_probe.h), the level series
// by their names, each only when it has a value over the bars shown inside
// the price range. Entries
// run in rows as wide as the bars' part of the plot, on a dark backing.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "host/picture/picture_layout.h"
#include "host/picture/study_graphics_probe.h"

namespace chart_host {

class StudyInstance;

struct LegendEntry {
  std::string name;
  HostColor color;
  LegendMark mark;
};

// The study's colours first, in the order of its inputs, then the series.
std::vector<LegendEntry> legendEntries(StudyInstance& instance, const PictureLayout& layout,
                                       const StudyGraphics& study);

// Draws nothing for no entries; the caller clips to the plot. Returns the
// row below the legend (the plot's top without one), where what else is
// written at the top of the plot may begin.
double drawLegend(cairo_t* cr, const std::vector<LegendEntry>& entries, const PictureLayout& layout);

}  // namespace chart_host
