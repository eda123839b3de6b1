// The chart's horizontal-line drawings: a line across the plot at its price
// in its colour, width and style (solid, dash, dot), its label placed by the
// alignment flags in its font size, on a box unless the background is
// transparent, in a colour that reads there, and a price tag for the axis,
// named for a line beyond the price range. Labels that would cover one
// another move to the line's other side or inwards. From the study's own
// graphics to the plot's right edge a line is only a thin dotted trace, so a
// profile bar in the line's colour still shows on it, and where it ends.
#pragma once

#include <cairo.h>

#include <map>
#include <string>
#include <vector>

#include "host/chart.h"
#include "host/picture/axis_tags.h"
#include "host/picture/picture_layout.h"
#include "host/picture/study_graphics_probe.h"

namespace chart_host {

// Draws the lines lying inside the plot and adds a tag for each line to
// `tags`, for those off the scale too, named by `names` (by line number) or
// else by their labels.
void drawLevelLines(cairo_t* cr, const Chart& chart, const PictureLayout& layout,
                    const std::map<int32_t, std::string>& names, const StudyGraphics& study,
                    std::vector<AxisTag>& tags);

}  // namespace chart_host
