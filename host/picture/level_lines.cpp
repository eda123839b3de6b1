#include "host/picture/level_lines.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"
#include "host/picture/text_contrast.h"

namespace chart_host {

namespace {

enum LineStyle : int16_t { kSolid = 0, kDash = 1, kDot = 2 };
enum LabelFlags : int32_t { kHorizontalMask = 3, kCentre = 1, kRight = 2, kMiddle = 4, kBelow = 8 };
enum class Side { Above, Middle, Below };

constexpr double kLabelInset_px = 8.0;
constexpr double kLabelPadding_px = 4.0;
constexpr double kLabelGap_px = 2.0;

struct Columns {
  int32_t left;
  int32_t right;
};

using Box = LabelBox;

// Font sizes are in points, as a desktop chart shows them.
double labelFont_px(const ChartDrawing& drawing) {
  return std::clamp(drawing.record.fontSize, 6, 48) * 4.0 / 3.0;
}

// Pixels of the sparse dots a line becomes across the study's graphics, and
// how far before them it starts.
constexpr int32_t kThinDotEvery_px = 4;
constexpr int32_t kThinLineLead_px = 24;

// Fills [left, right) x [top, bottom) except the columns of `gap`.
void fillAround(cairo_t* cr, int32_t left, int32_t top, int32_t right, int32_t bottom,
                const Columns& gap, HostColor color) {
  if (gap.right <= left || gap.left >= right || gap.left >= gap.right) {
    fillPixels(cr, left, top, right, bottom, color);
    return;
  }
  if (left < gap.left) fillPixels(cr, left, top, gap.left, bottom, color);
  if (gap.right < right) fillPixels(cr, gap.right, top, right, bottom, color);
}

// A line in its style; across the study's own graphics only a thin dotted
// trace of it, so a bar of the same colour lying on the line still shows
// where it ends.
void drawLine(cairo_t* cr, const PlotArea& plot, int32_t row, int32_t width, int16_t style,
              HostColor color, const Columns& study) {
  const int32_t top = row - width / 2;
  if (style != kDash && style != kDot) {
    fillAround(cr, plot.left, top, plot.right, top + width, study, color);
  } else {
    const int32_t on = style == kDash ? std::max(6, 5 * width) : width;
    const int32_t off = style == kDash ? std::max(4, 3 * width) : std::max(2, 2 * width);
    for (int32_t x = plot.left; x < plot.right; x += on + off) {
      fillAround(cr, x, top, std::min(x + on, plot.right), top + width, study, color);
    }
  }
  const int32_t from = std::max(study.left, plot.left);
  const int32_t to = std::min(study.right, plot.right);
  for (int32_t x = from; x < to; x += kThinDotEvery_px) fillPixels(cr, x, row, x + 1, row + 1, color);
}

// The tag of a line beyond the price range: its name, when it has one, and price.
std::string offScaleText(const ChartDrawing& drawing, const std::map<int32_t, std::string>& names,
                         float tickSize) {
  const auto named = names.find(drawing.record.lineNumber);
  const std::string& name = named != names.end() ? named->second : drawing.label;
  const std::string price = formatPrice(drawing.record.price, tickSize);
  // A label that shows the price already is not followed by it twice.
  if (name.empty() || name.find(price) != std::string::npos) return name.empty() ? price : name;
  return name + " " + price;
}

Box labelBox(const PlotArea& plot, int32_t row, int32_t width, int32_t flags, Side side,
             double boxWidth, double boxHeight, double inwardShift) {
  double left = plot.left + kLabelInset_px + inwardShift;
  if ((flags & kHorizontalMask) == kRight) {
    left = plot.right - kLabelInset_px - boxWidth - inwardShift;
  } else if ((flags & kHorizontalMask) == kCentre) {
    left = (plot.left + plot.right - boxWidth) / 2.0 - inwardShift;
  }
  const double lineTop = row - width / 2;
  double top = lineTop - kLabelGap_px - boxHeight;
  if (side == Side::Below) top = lineTop + width + kLabelGap_px;
  if (side == Side::Middle) top = std::round(row + 0.5 - boxHeight / 2.0);
  left = std::round(left);
  return {left, top, left + boxWidth, top + boxHeight};
}

// The asked place first, then the line's other sides, then further inwards.
Box placeLabel(const PlotArea& plot, int32_t row, int32_t width, int32_t flags, double boxWidth,
               double boxHeight, const std::vector<Box>& placed) {
  const Side asked = (flags & kBelow)    ? Side::Below
                     : (flags & kMiddle) ? Side::Middle
                                         : Side::Above;
  const std::array<Side, 3> sides = {asked, asked == Side::Below ? Side::Above : Side::Below,
                                     asked == Side::Middle ? Side::Above : Side::Middle};
  for (int32_t step = 0; step < 4; ++step) {
    for (Side side : sides) {
      const Box box =
          labelBox(plot, row, width, flags, side, boxWidth, boxHeight, step * (boxWidth + 6.0));
      const bool inside = box.left >= plot.left && box.right <= plot.right && box.top >= plot.top &&
                          box.bottom <= plot.bottom;
      const bool free = std::none_of(placed.begin(), placed.end(),
                                     [&](const Box& other) { return box.overlaps(other); });
      if (inside && free) return box;
    }
  }
  return labelBox(plot, row, width, flags, asked, boxWidth, boxHeight, 0.0);
}

void drawLabel(cairo_t* cr, const ChartDrawing& drawing, const Box& box, HostColor color) {
  const bool boxed = drawing.record.transparentLabelBackground == 0;
  if (boxed) {
    fillPixels(cr, box.left, box.top, box.right, box.bottom, picture_theme::kLabelBox);
    // A thin frame in the line's colour ties the box to its line.
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    setColor(cr, color, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, box.left + 0.5, box.top + 0.5, box.right - box.left - 1.0,
                    box.bottom - box.top - 1.0);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  const HostColor behind = boxed ? picture_theme::kLabelBox : picture_theme::kBackground;
  drawText(cr, box.left + kLabelPadding_px, box.top + 2.0, drawing.label,
           readableTextColor(color, behind));
}

// The parts of the plot the tags of levels beyond the price range take,
// stacked from the edge they wait at.
std::vector<Box> offScaleTagBoxes(cairo_t* cr, const std::vector<AxisTag>& tags,
                                  const PictureLayout& layout) {
  const PlotArea& plot = layout.plot;
  const double height = tagHeight(cr);
  std::vector<Box> boxes;
  int32_t above = 0;
  int32_t below = 0;
  for (const AxisTag& tag : tags) {
    if (tag.offScale == 0) continue;
    const double left = offScaleTagLeft(cr, tag.text, layout);
    const double top = offScaleTagTop(tag.offScale, tag.offScale > 0 ? above++ : below++, height, layout);
    if (left < plot.right) boxes.push_back({left, top, static_cast<double>(plot.right), top + height});
  }
  return boxes;
}

}  // namespace

std::vector<PlacedLabel> drawLevelLines(cairo_t* cr, const Chart& chart, const PictureLayout& layout,
                                        const std::map<int32_t, std::string>& names,
                                        const StudyGraphics& study, bool muted, std::vector<AxisTag>& tags) {
  const PlotArea& plot = layout.plot;
  // From a little before the study's graphics to the plot's right edge, so no
  // bar's end meets the whole line again.
  const Columns studyColumns =
      study.drewAnything()
          ? Columns{std::max(study.left, plot.left + kThinLineLead_px) - kThinLineLead_px, plot.right}
          : Columns{0, 0};
  struct Shown {
    const ChartDrawing* drawing;
    int32_t row;
    int32_t width;
    HostColor color;
  };
  std::vector<Shown> shown;
  for (const ChartDrawing& drawing : chart.drawings().all()) {
    const HostDrawingRecord& record = drawing.record;
    if (record.drawingKind != kDrawingKindHorizontalLine || !std::isfinite(record.price)) continue;
    const int32_t row = chart.priceToY(record.price);
    const HostColor color = muted ? picture_theme::mutedColor(record.color & 0xFFFFFFu) : record.color & 0xFFFFFFu;
    if (row < plot.top || row >= plot.bottom) {
      // Off the scale: no line, but its price waits at the axis's edge.
      const bool above = row < plot.top;
      tags.push_back({above ? plot.top : plot.bottom - 1, color, offScaleText(drawing, names, chart.tickSize()), false,
                      above ? 1 : -1});
      continue;
    }
    shown.push_back({&drawing, row, std::clamp<int32_t>(record.lineWidth, 1, picture_theme::kWidestLine_px), color});
  }
  // Every line before any label, so no line crosses a label.
  for (const Shown& line : shown) {
    drawLine(cr, plot, line.row, line.width, line.drawing->record.lineStyle, line.color,
             studyColumns);
    tags.push_back(
        {line.row, line.color, formatPrice(line.drawing->record.price, chart.tickSize())});
  }
  // Labels keep clear of the tags of levels beyond the range that reach into the plot.
  std::vector<Box> placed = offScaleTagBoxes(cr, tags, layout);
  std::vector<PlacedLabel> labels;
  for (const Shown& line : shown) {
    const ChartDrawing& drawing = *line.drawing;
    if (drawing.label.empty()) continue;
    selectFont(cr, labelFont_px(drawing));
    const double boxWidth = std::ceil(textWidth(cr, drawing.label) + 2 * kLabelPadding_px);
    const double boxHeight = std::ceil(lineHeight(cr) + 4.0);
    const Box box = placeLabel(plot, line.row, line.width, drawing.record.labelAlignment, boxWidth,
                               boxHeight, placed);
    placed.push_back(box);
    labels.push_back({&drawing, box, line.color});
  }
  return labels;
}

void drawLevelLabels(cairo_t* cr, const std::vector<PlacedLabel>& labels) {
  for (const PlacedLabel& label : labels) {
    selectFont(cr, labelFont_px(*label.drawing));
    drawLabel(cr, *label.drawing, label.box, label.color);
  }
}

}  // namespace chart_host
