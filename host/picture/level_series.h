// The study's output series that are prices drawn as lines (draw style 4):
// a stepped line across the bars where the value is set, in the series'
// primary colour and width, with a gap wherever the value is 0. Series of
// other styles (5 carries values, not prices) are not drawn.
#pragma once

#include <cairo.h>

#include <functional>

#include "host/picture/picture_layout.h"
#include "study/host_interface.h"

namespace chart_host {

class StudyInstance;

inline constexpr int32_t kLineDrawStyle = 4;

// Calls `visit` for each series of the study drawn as a line.
void forEachLineSeries(StudyInstance& instance,
                       const std::function<void(const HostSubgraph&)>& visit);

// Draws the line series over the bars shown; the caller clips to the plot.
void drawLineSeries(cairo_t* cr, StudyInstance& instance, const PictureLayout& layout);

}  // namespace chart_host
