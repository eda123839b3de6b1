// Price tags on the price axis: the last price and each level line's price,
// a box in the line's colour beside the row it marks, its text black or white
// by contrast. A level beyond the price range waits at the axis's edge, named,
// reaching into the plot when its name needs the room. Tags that would cover
// each other move apart, the fixed ones (the last price) staying put.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "host/picture/picture_layout.h"
#include "study/host_interface.h"

namespace chart_host {

struct AxisTag {
  int32_t row;  // the row of the price it marks
  HostColor color;
  std::string text;
  bool fixed = false;
  // 1 for a price above the plot, -1 below: the tag waits at that edge of
  // the axis with an arrow pointing the price's way.
  int32_t offScale = 0;
};

struct PlacedTag {
  AxisTag tag;
  double top;
  double bottom;
};

// The height of a tag, and where the tag of a level beyond the price range
// begins: inside the plot when its name needs the room. Both set the tags' font.
double tagHeight(cairo_t* cr);
double offScaleTagLeft(cairo_t* cr, const std::string& text, const PictureLayout& layout);

// The top of the tags of levels beyond the price range, stacked from the
// edge they wait at in the order given: `nth` counts from 0 at each edge. The
// level labels keep clear of the same places.
double offScaleTagTop(int32_t offScale, int32_t nth, double height, const PictureLayout& layout);

// Where each tag goes: the tags of levels beyond the price range stacked at
// their edges, fixed tags at their rows, the others at the free place nearest
// to theirs inside the axis.
std::vector<PlacedTag> placeAxisTags(cairo_t* cr, std::vector<AxisTag> tags,
                                     const PictureLayout& layout);
// Draws the tags, the first placed last so they stay on top.
void drawAxisTags(cairo_t* cr, const std::vector<PlacedTag>& placed, const PictureLayout& layout);

}  // namespace chart_host
