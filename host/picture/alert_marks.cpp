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

bool clearOf(const LabelBox& box, const std::vector<PlacedLabel>& labels, const std::vector<LabelBox>& taken,
             const PlotArea& plot) {
  if (box.left < plot.left || box.right > plot.right || box.top < plot.top || box.bottom > plot.bottom) return false;
  for (const PlacedLabel& label : labels)
    if (box.overlaps(label.box)) return false;
  for (const LabelBox& other : taken)
    if (box.overlaps(other)) return false;
  return true;
}

LabelBox markBox(double x, double y) {
  return {x - kHalfSize_px, y - kHalfSize_px, x + kHalfSize_px, y + kHalfSize_px};
}

// Several alerts on one bar at one price (levels close together, a cross
// and a near at once) would hide each other: each mark after the first
// steps away from the marks already there, a crossing up above them, the
// others below, so every one shows where it fired.
double clearY(double x, double y, AlertMark::Shape shape, const std::vector<LabelBox>& marks) {
  constexpr int kMostSteps = 6;
  const double step = (shape == AlertMark::Shape::Up ? -1 : 1) * (2 * kHalfSize_px + 1);
  for (int k = 0; k < kMostSteps; ++k) {
    const LabelBox box = markBox(x, y + k * step);
    bool clear = true;
    for (const LabelBox& other : marks) clear = clear && !box.overlaps(other);
    if (clear) return y + k * step;
  }
  return y;
}

// The name's box right of the mark, else left of it; none when both are
// taken (by a level's label, another mark or its name).
bool placeName(const LabelBox& right, const LabelBox& left, const std::vector<PlacedLabel>& labels,
               const std::vector<LabelBox>& taken, const PlotArea& plot, LabelBox& placed) {
  for (const LabelBox& box : {right, left}) {
    if (clearOf(box, labels, taken, plot)) {
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
  struct Placed {
    const AlertMark* mark;
    double x, y;
  };
  std::vector<Placed> placed;
  std::vector<LabelBox> taken;  // the marks, then the names as they are placed
  for (const AlertMark& mark : marks) {
    if (mark.barTime < times.front() || !std::isfinite(mark.price)) continue;
    const int32_t bar = chart.dateTimeToBarIndex(mark.barTime);
    if (bar < layout.firstBar || bar >= layout.endBar()) continue;
    const double x = std::round(layout.barCentreX(bar)) + 0.5;
    const double firedY = chart.priceToY(mark.price) + 0.5;
    if (firedY < layout.plot.top || firedY > layout.plot.bottom) continue;
    const double y = clearY(x, firedY, mark.shape, taken);
    placed.push_back({&mark, x, y});
    taken.push_back(markBox(x, y));
    shapePath(cr, mark.shape, x, y);
    setColor(cr, colorOf(mark.shape));
    cairo_fill_preserve(cr);
    setColor(cr, picture_theme::kBackground);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }

  // Names after every mark, so none covers a mark drawn after it; the oldest
  // first, so a name keeps its place when a newer alert comes.
  selectFont(cr, picture_theme::kAxisFont_px, true);
  const double height = std::round(lineHeight(cr) + 2 * kNamePadding_px);
  for (auto at = placed.begin(); at != placed.end(); ++at) {
    const std::string& label = at->mark->label;
    if (label.empty()) continue;
    const double width = std::round(textWidth(cr, label) + 2 * kNamePadding_px);
    const double top = std::round(at->y - height / 2);
    const double rightOf = std::round(at->x + kHalfSize_px + kGap_px);
    const double leftOf = std::round(at->x - kHalfSize_px - kGap_px - width);
    LabelBox box{};
    if (!placeName({rightOf, top, rightOf + width, top + height}, {leftOf, top, leftOf + width, top + height}, labels,
                   taken, layout.plot, box))
      continue;
    fillPixels(cr, box.left, box.top, box.right, box.bottom, picture_theme::kLabelBox);
    drawText(cr, box.left + kNamePadding_px, box.top + kNamePadding_px, label, colorOf(at->mark->shape));
    taken.push_back(box);
  }
}

}  // namespace chart_host
