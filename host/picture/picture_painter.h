// Paints a whole chart picture onto a cairo context the size of the layout:
// background and grid, candles, the line series, the level lines, the
// study's own graphics on top of the plot, the marks of alerts, the lines'
// labels, the legend and
// the plot's notice when it has one, then the axes, their price tags and the title
// bar. The chart must already be laid out (see
// layOutChartPicture) so the study's pixels and the picture's agree.
#pragma once

#include <cairo.h>

#include "host/picture/chart_picture.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

class StudyInstance;

void paintChartPicture(cairo_t* cr, StudyInstance& instance, const ChartPictureOptions& options,
                       const PictureLayout& layout);

}  // namespace chart_host
