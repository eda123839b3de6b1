#include "fuzz/checking_canvas.h"

#include <limits>
#include <optional>

#include "fuzz/fuzz_check.h"

namespace fuzz {

namespace {

constexpr int32_t kLowestPixel = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighestPixel = std::numeric_limits<int32_t>::max();

const std::vector<int32_t> kBarResets{3, 2, 1};
const std::vector<int32_t> kDotResets{6, 4, 5, 3, 2, 1};

// Bar styles as the series' style inputs give them; any other value is a bar.
// Dotted bars put a dot every kDotSpacing pixels, dashed ones a dash of
// kDashLength every kDashSpacing.
enum BarStyle : int32_t { kLineStyle, kDotStyle, kDashStyle };
constexpr int32_t kDotSpacing = 6, kDashSpacing = 12, kDashLength = 8;

// Prior-dot shapes; any other value is a square.
enum DotShape : int32_t { kPointDot, kDiamondDot };

const HostFillRecord kNoFill{};

int32_t saturated(int64_t value) {
  if (value < kLowestPixel) return kLowestPixel;
  if (value > kHighestPixel) return kHighestPixel;
  return static_cast<int32_t>(value);
}

// The middle of a span `2 × half` long whose end may have been cut off by
// the int32 range; none when the span is not one.
std::optional<int64_t> centreOf(int32_t lo, int32_t hi, int32_t half) {
  const int64_t length = static_cast<int64_t>(hi) - lo;
  if (length == 2 * static_cast<int64_t>(half)) return static_cast<int64_t>(lo) + half;
  if (length > 2 * static_cast<int64_t>(half)) return std::nullopt;
  if (lo == kLowestPixel) return static_cast<int64_t>(hi) - half;
  if (hi == kHighestPixel) return static_cast<int64_t>(lo) + half;
  return std::nullopt;
}

bool withinRows(const PlotArea& plot, int64_t y) { return plot.top <= y && y <= plot.bottom; }
bool strictlyWithinRows(const PlotArea& plot, int64_t y) { return plot.top < y && y < plot.bottom; }

// A solid fill of `color`, as bars and dots are painted.
bool isSolidFill(const HostFillRecord& fill) {
  return fill.kind == 1 && fill.reserved1 == 0 && fill.reserved2 == 0;
}

}  // namespace

void CheckingCanvas::addPrimitive(RecordedShape shape) {
  // A new shape may not start before the last one's resets are complete.
  FUZZ_CHECK(resets_ == nullptr);
  ++primitives_;
  if (count_ == 0) {
    first_ = shape;
  } else if (first_.kind == ShapeKind::Rectangle && shape.kind == ShapeKind::Rectangle) {
    checkBarContinues(shape.rect, shape.color);
  }
  last_ = std::move(shape);
  ++count_;
}

void CheckingCanvas::selectBrush(const HostFillRecord& fill) {
  addPrimitive({.kind = ShapeKind::Brush, .fill = fill});
}

void CheckingCanvas::fillRectangle(const HostRect& rect, HostColor color) {
  FUZZ_CHECK(rect.left <= rect.right && rect.top <= rect.bottom);
  addPrimitive({.kind = ShapeKind::Rectangle, .rect = rect, .color = color});
}

void CheckingCanvas::drawPolygon(const HostPoint* points, int32_t count) {
  addPrimitive({.kind = ShapeKind::Polygon, .points = std::vector<HostPoint>(points, points + count)});
}

void CheckingCanvas::drawEllipse(const HostRect& box, const HostFillRecord& fill) {
  FUZZ_CHECK(box.left <= box.right && box.top <= box.bottom);
  addPrimitive({.kind = ShapeKind::Ellipse, .rect = box, .fill = fill});
}

void CheckingCanvas::resetGraphicsState(int32_t which) {
  if (resets_ == nullptr) {
    // Resets close a shape; the first one says which kind.
    FUZZ_CHECK(count_ != 0);
    FUZZ_CHECK(which == kBarResets.front() || which == kDotResets.front());
    resets_ = which == kBarResets.front() ? &kBarResets : &kDotResets;
    resetsSeen_ = 0;
  }
  FUZZ_CHECK(which == (*resets_)[resetsSeen_]);
  if (++resetsSeen_ < resets_->size()) return;
  if (resets_ == &kBarResets) {
    checkBar();
    ++bars_;
  } else {
    checkDot();
    ++dots_;
  }
  count_ = 0;
  resets_ = nullptr;
}

void CheckingCanvas::finish() const { FUZZ_CHECK(count_ == 0 && resets_ == nullptr); }

// A rectangle after the first of a group: the next piece of a dotted or
// dashed bar, in the bar's colour and band.
void CheckingCanvas::checkBarContinues(const HostRect& piece, HostColor color) const {
  const HostRect& previous = last_.rect;
  FUZZ_CHECK(last_.kind == ShapeKind::Rectangle);
  FUZZ_CHECK(color == first_.color);
  FUZZ_CHECK(piece.top == first_.rect.top && piece.bottom == first_.rect.bottom);
  const int32_t series = seriesOfColor(rules_, first_.color);
  FUZZ_CHECK(series >= 0);
  const int64_t step = static_cast<int64_t>(piece.left) - previous.left;
  switch (rules_.barStyles[series]) {
    case kDotStyle:
      FUZZ_CHECK(step == kDotSpacing);
      FUZZ_CHECK(centreOf(piece.left, piece.right, 1).has_value());
      break;
    case kDashStyle:
      // Only the last dash may be cut short.
      FUZZ_CHECK(step == kDashSpacing);
      FUZZ_CHECK(static_cast<int64_t>(previous.right) - previous.left == kDashLength);
      break;
    default:
      // Lines and bars are one rectangle.
      FUZZ_CHECK(false);
  }
}

void CheckingCanvas::checkBar() const {
  const HostRect& rect = first_.rect;
  const HostRect& last = last_.rect;
  FUZZ_CHECK(first_.kind == ShapeKind::Rectangle && last_.kind == ShapeKind::Rectangle);
  // Only the series the selected kind and display draw, each in its style.
  const int32_t series = seriesOfColor(rules_, first_.color);
  FUZZ_CHECK(series >= 0);
  const PlotArea& plot = rules_.plot;

  switch (rules_.barStyles[series]) {
    case kLineStyle: {
      // A line two pixels tall on the strike's row.
      const std::optional<int64_t> row = centreOf(rect.top, rect.bottom, 1);
      FUZZ_CHECK(row && withinRows(plot, *row));
      FUZZ_CHECK(plot.left <= rect.left && rect.left < rect.right && rect.right <= plot.right);
      break;
    }
    case kDotStyle: {
      // Dots 2 × 4 every 6 pixels from the bar's start. The last starts
      // before the bar's end, so it may pass the end, and the plot's right
      // edge with it, by one pixel.
      const std::optional<int64_t> row = centreOf(rect.top, rect.bottom, 2);
      FUZZ_CHECK(row && withinRows(plot, *row));
      FUZZ_CHECK(centreOf(rect.left, rect.right, 1).has_value());
      FUZZ_CHECK(plot.left <= rect.left && last.left < plot.right);
      FUZZ_CHECK(last.right <= static_cast<int64_t>(plot.right) + 1);
      break;
    }
    case kDashStyle: {
      // Dashes 8 pixels long every 12, the last one possibly cut short by
      // the bar's end; the bar's band has an edge inside the plot.
      const int64_t length = static_cast<int64_t>(last.right) - last.left;
      FUZZ_CHECK(length > 0 && length <= kDashLength);
      FUZZ_CHECK(plot.left <= rect.left && last.right <= plot.right);
      FUZZ_CHECK(strictlyWithinRows(plot, rect.top) || strictlyWithinRows(plot, rect.bottom));
      break;
    }
    default:
      // One band with an edge inside the plot.
      FUZZ_CHECK(plot.left <= rect.left && rect.left < rect.right && rect.right <= plot.right);
      FUZZ_CHECK(strictlyWithinRows(plot, rect.top) || strictlyWithinRows(plot, rect.bottom));
      break;
  }
}

void CheckingCanvas::checkDot() const {
  const int32_t r = rules_.dotRadius;
  const RecordedShape& shape = last_;
  HostFillRecord fill = kNoFill;
  std::optional<int64_t> x, y;

  switch (rules_.dotStyle) {
    case kPointDot:
      FUZZ_CHECK(count_ == 1 && shape.kind == ShapeKind::Ellipse);
      fill = shape.fill;
      x = centreOf(shape.rect.left, shape.rect.right, r);
      y = centreOf(shape.rect.top, shape.rect.bottom, r);
      break;
    case kDiamondDot: {
      // The brush, then the corners top, right, bottom, left.
      FUZZ_CHECK(count_ == 2 && first_.kind == ShapeKind::Brush);
      FUZZ_CHECK(shape.kind == ShapeKind::Polygon && shape.points.size() == 4);
      fill = first_.fill;
      const std::vector<HostPoint>& p = shape.points;
      x = p[0].x;
      y = p[1].y;
      FUZZ_CHECK(p[0].y == saturated(*y - r) && p[2].x == *x && p[2].y == saturated(*y + r));
      FUZZ_CHECK(p[1].x == saturated(*x + r) && p[3].x == saturated(*x - r) && p[3].y == *y);
      break;
    }
    default:
      FUZZ_CHECK(count_ == 1 && shape.kind == ShapeKind::Rectangle);
      fill = HostFillRecord{1, static_cast<int32_t>(shape.color), 0, 0};
      x = centreOf(shape.rect.left, shape.rect.right, r);
      y = centreOf(shape.rect.top, shape.rect.bottom, r);
      break;
  }
  // A dot of the size the settings ask for, in the colour of a shown prior.
  FUZZ_CHECK(x && y);
  FUZZ_CHECK(isSolidFill(fill) && isDrawnDotColor(rules_, static_cast<HostColor>(fill.color)));
  // Its box within a radius of the plot's sides: the centre is on a column
  // of the plot, and strictly between its top and bottom.
  const PlotArea& plot = rules_.plot;
  FUZZ_CHECK(strictlyWithinRows(plot, *y));
  if (static_cast<int64_t>(plot.right) - plot.left >= r) {
    FUZZ_CHECK(plot.left <= *x && *x <= plot.right);
  } else {
    // Known departure: on a plot narrower than the radius, a dot pulled back
    // a radius in from one side lands past the other one. Its centre still
    // lies within a radius of both sides.
    FUZZ_CHECK(*x <= static_cast<int64_t>(plot.left) + r && static_cast<int64_t>(plot.right) - r <= *x);
  }
}

}  // namespace fuzz
