// The chart's horizontal-line drawings: a line across the plot at its price
// in its colour, width and style (solid, dash, dot), its label placed by the
// alignment flags in its font size, on a box unless the background is
// transparent, in a colour that reads there, over the study's graphics, and
// a price tag for the axis,
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

struct LabelBox {
  double left, top, right, bottom;
  bool overlaps(const LabelBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

// A line's label where it goes; it points into the chart's drawings.
struct PlacedLabel {
  const ChartDrawing* drawing;
  LabelBox box;
  HostColor color;
};

// Draws the lines lying inside the plot and adds a tag for each line to
// `tags`, for those off the scale too, named by `names` (by line number) or
// else by their labels. Returns the lines' labels, placed, for
// drawLevelLabels to draw once the study's graphics are on the plot. With
// `muted`, lines, labels and tags are drawn in their muted colours.
std::vector<PlacedLabel> drawLevelLines(cairo_t* cr, const Chart& chart, const PictureLayout& layout,
                                        const std::map<int32_t, std::string>& names,
                                        const StudyGraphics& study, bool muted, std::vector<AxisTag>& tags);
// Draws the labels over everything else on the plot, so they stay readable.
void drawLevelLabels(cairo_t* cr, const std::vector<PlacedLabel>& labels);

}  // namespace chart_host
