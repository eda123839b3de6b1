#include "host/picture/axis_tags.h"

#include <algorithm>
#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"
#include "host/picture/text_contrast.h"

namespace chart_host {

namespace {

constexpr double kPointer_px = 5.0;
constexpr double kTextPadding_px = 5.0;

bool collides(double top, double height, const std::vector<PlacedTag>& placed) {
  for (const PlacedTag& other : placed) {
    if (top < other.bottom && other.top < top + height) return true;
  }
  return false;
}

// The free top nearest to the wanted one, searching outwards a pixel at a
// time inside the axis; the wanted one when none is free.
double freeTop(double wanted, double height, double lowest, double highest,
               const std::vector<PlacedTag>& placed) {
  wanted = std::clamp(wanted, lowest, highest);
  for (double shift = 0.0; shift <= highest - lowest; shift += 1.0) {
    for (double top : {wanted + shift, wanted - shift}) {
      if (top >= lowest && top <= highest && !collides(top, height, placed)) return top;
    }
  }
  return wanted;
}


// A level beyond the price range at the axis's edge: an arrow the price's
// way, then its name and price.
void drawOffScaleTag(cairo_t* cr, const AxisTag& tag, double top, double height,
                     const PictureLayout& layout) {
  const double right = layout.width_px;
  const double middle = top + height / 2.0;
  const HostColor textColor = contrastingText(tag.color);
  const double left = offScaleTagLeft(cr, tag.text, layout);
  fillPixels(cr, left, top, right, top + height, tag.color);
  const double tip = tag.offScale > 0 ? middle - 4.0 : middle + 4.0;
  const double base = tag.offScale > 0 ? middle + 3.0 : middle - 3.0;
  cairo_move_to(cr, left + kTextPadding_px, base);
  cairo_line_to(cr, left + kTextPadding_px + 8.0, base);
  cairo_line_to(cr, left + kTextPadding_px + 4.0, tip);
  cairo_close_path(cr);
  setColor(cr, textColor);
  cairo_fill(cr);
  drawText(cr, left + kTextPadding_px + 11.0, top + 2.0, tag.text, textColor);
}

void drawTag(cairo_t* cr, const AxisTag& tag, double top, double height,
             const PictureLayout& layout) {
  if (tag.offScale != 0) return drawOffScaleTag(cr, tag, top, height, layout);
  const double left = layout.plot.right + 1;
  const double right = layout.width_px;
  const double middle = top + height / 2.0;
  const HostColor textColor = contrastingText(tag.color);
  // A box with a point towards the plot, at the row it marks when it could stay there.
  const double pointAt = std::fabs(middle - (tag.row + 0.5)) < 1.0 ? tag.row + 0.5 : middle;
  cairo_move_to(cr, left, pointAt);
  cairo_line_to(cr, left + kPointer_px, top);
  cairo_line_to(cr, right, top);
  cairo_line_to(cr, right, top + height);
  cairo_line_to(cr, left + kPointer_px, top + height);
  cairo_close_path(cr);
  setColor(cr, tag.color);
  cairo_fill(cr);
  drawText(cr, left + kPointer_px + kTextPadding_px, top + 2.0, tag.text, textColor);
}

}  // namespace

double tagHeight(cairo_t* cr) {
  selectFont(cr, picture_theme::kAxisFont_px, true);
  return std::round(lineHeight(cr) + 4.0);
}

double offScaleTagLeft(cairo_t* cr, const std::string& text, const PictureLayout& layout) {
  selectFont(cr, picture_theme::kAxisFont_px, true);
  const double wanted = 2.0 * kTextPadding_px + 11.0 + textWidth(cr, text);
  return std::round(std::min(layout.plot.right + 1.0, layout.width_px - wanted));
}

double offScaleTagTop(int32_t offScale, int32_t nth, double height, const PictureLayout& layout) {
  return offScale > 0 ? layout.plot.top + height * nth : layout.plot.bottom - height * (nth + 1);
}

std::vector<PlacedTag> placeAxisTags(cairo_t* cr, std::vector<AxisTag> tags,
                                     const PictureLayout& layout) {
  const double height = tagHeight(cr);
  const double lowest = layout.plot.top;
  const double highest = std::max(lowest, layout.plot.bottom - height);
  std::vector<PlacedTag> placed;
  // The tags beyond the range first, where the level labels left them room;
  // a tag inside the range that wants the same place moves aside.
  int32_t above = 0;
  int32_t below = 0;
  for (const AxisTag& tag : tags) {
    if (tag.offScale == 0) continue;
    const double top = offScaleTagTop(tag.offScale, tag.offScale > 0 ? above++ : below++, height, layout);
    placed.push_back({tag, top, top + height});
  }
  tags.erase(std::remove_if(tags.begin(), tags.end(), [](const AxisTag& tag) { return tag.offScale != 0; }),
             tags.end());
  // Fixed tags next, then the others from the top down.
  std::stable_sort(tags.begin(), tags.end(), [](const AxisTag& a, const AxisTag& b) {
    return a.fixed != b.fixed ? a.fixed : a.row < b.row;
  });
  for (AxisTag& tag : tags) {
    const double wanted = std::round(tag.row + 0.5 - height / 2.0);
    const double top = tag.fixed ? std::clamp(wanted, lowest, highest)
                                 : freeTop(wanted, height, lowest, highest, placed);
    placed.push_back({std::move(tag), top, top + height});
  }
  return placed;
}

void drawAxisTags(cairo_t* cr, const std::vector<PlacedTag>& placed, const PictureLayout& layout) {
  selectFont(cr, picture_theme::kAxisFont_px, true);
  for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
    drawTag(cr, it->tag, it->top, it->bottom - it->top, layout);
  }
}

}  // namespace chart_host
