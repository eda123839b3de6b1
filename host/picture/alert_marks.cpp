#include "host/picture/alert_marks.h"

#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

constexpr double kHalfSize_px = 6.0;
constexpr double kGap_px = 3.0;
constexpr double kNamePadding_px = 2.0;
HostColor colorOf(AlertMark::Shape shape) {
  using namespace picture_theme;
  return shape == AlertMark::Shape::Up ? kAlertUp : shape == AlertMark::Shape::Down ? kAlertDown : kAlertNear;
}

// The mark's outline as a path centred on (x, y).
void shapePath(cairo_t* cr, AlertMark::Shape shape, double x, double y) {
  const double s = kHalfSize_px;
  if (shape == AlertMark::Shape::Up) {
    cairo_move_to(cr, x, y - s);
    cairo_line_to(cr, x + s, y + s);
    cairo_line_to(cr, x - s, y + s);
  } else if (shape == AlertMark::Shape::Down) {
    cairo_move_to(cr, x, y + s);
    cairo_line_to(cr, x + s, y - s);
    cairo_line_to(cr, x - s, y - s);
  } else {
    cairo_move_to(cr, x, y - s);
    cairo_line_to(cr, x + s, y);
    cairo_line_to(cr, x, y + s);
    cairo_line_to(cr, x - s, y);
  }
  cairo_close_path(cr);
}

bool clearOf(const LabelBox& box, const std::vector<PlacedLabel>& labels, const std::vector<LabelBox>& names,
             const PlotArea& plot) {
  if (box.left < plot.left || box.right > plot.right || box.top < plot.top || box.bottom > plot.bottom) return false;
  for (const PlacedLabel& label : labels)
    if (box.overlaps(label.box)) return false;
  for (const LabelBox& name : names)
    if (box.overlaps(name)) return false;
  return true;
}

// The name's box right of the mark, else left of it; none when both are taken.
bool placeName(const LabelBox& right, const LabelBox& left, const std::vector<PlacedLabel>& labels,
               const std::vector<LabelBox>& names, const PlotArea& plot, LabelBox& placed) {
  for (const LabelBox& box : {right, left}) {
    if (clearOf(box, labels, names, plot)) {
      placed = box;
      return true;
    }
  }
  return false;
}

}  // namespace

void drawAlertMarks(cairo_t* cr, const Chart& chart, const PictureLayout& layout, const std::vector<AlertMark>& marks,
                    const std::vector<PlacedLabel>& labels) {
  const std::vector<HostDateTime>& times = chart.barDateTimes();
  if (layout.shownBars <= 0 || times.empty()) return;
  selectFont(cr, picture_theme::kAxisFont_px, true);
  const double height = std::round(lineHeight(cr) + 2 * kNamePadding_px);
  std::vector<LabelBox> names;
  for (const AlertMark& mark : marks) {
    if (mark.barTime < times.front() || !std::isfinite(mark.price)) continue;
    const int32_t bar = chart.dateTimeToBarIndex(mark.barTime);
    if (bar < layout.firstBar || bar >= layout.endBar()) continue;
    const double x = std::round(layout.barCentreX(bar)) + 0.5;
    const double y = chart.priceToY(mark.price) + 0.5;
    if (y < layout.plot.top || y > layout.plot.bottom) continue;
    const HostColor color = colorOf(mark.shape);
    shapePath(cr, mark.shape, x, y);
    setColor(cr, color);
    cairo_fill_preserve(cr);
    setColor(cr, picture_theme::kBackground);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);

    if (mark.label.empty()) continue;
    const double width = std::round(textWidth(cr, mark.label) + 2 * kNamePadding_px);
    const double top = std::round(y - height / 2);
    const double rightOf = std::round(x + kHalfSize_px + kGap_px);
    const double leftOf = std::round(x - kHalfSize_px - kGap_px - width);
    LabelBox box{};
    if (!placeName({rightOf, top, rightOf + width, top + height}, {leftOf, top, leftOf + width, top + height}, labels,
                   names, layout.plot, box))
      continue;
    fillPixels(cr, box.left, box.top, box.right, box.bottom, picture_theme::kLabelBox);
    drawText(cr, box.left + kNamePadding_px, box.top + kNamePadding_px, mark.label, color);
    names.push_back(box);
  }
}

}  // namespace chart_host
