// The marks of alerts on the plot: a small triangle (a crossing, pointing
// the way it went) or diamond (a price that came near a level) at the bar
// and price where each fired, outlined so it reads on candles and the
// study's graphics, with the level's name beside it on a box. Marks that
// fired on one bar at one price stand side by side up or down the bar. A
// name goes where it covers no level's label, no mark and no other mark's
// name, else it is left out and the mark stands alone.
#pragma once

#include <cairo.h>

#include <vector>

#include "host/chart.h"
#include "host/picture/chart_picture.h"
#include "host/picture/level_lines.h"
#include "host/picture/picture_layout.h"

namespace chart_host {

// Draws the marks on bars shown, the newest last (on top); the caller clips
// to the plot. `labels` are the level labels the marks' names keep clear of.
void drawAlertMarks(cairo_t* cr, const Chart& chart, const PictureLayout& layout, const std::vector<AlertMark>& marks,
                    const std::vector<PlacedLabel>& labels);

}  // namespace chart_host
