#include "fuzz/checking_canvas.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "fuzz/fuzz_check.h"
#include "study/greek_input.h"

using namespace tarvio;

namespace fuzz {

namespace {

// Series indices of the families, positive first; the first prior dot of
// the families (five GEX dots, three each for delta and gamma).
enum FirstSeries : int32_t {
  kGexVolumeSeries = 0, kGexOpenInterestSeries = 2, kDeltaSeries = 4, kGammaSeries = 6 };
enum FirstDot : int32_t { kGexDots = 0, kDeltaDots = 5, kGammaDots = 8 };

void drawSeries(PaintRules& rules, int32_t firstSeries) {
  rules.seriesDrawn[firstSeries] = true;
  rules.seriesDrawn[firstSeries + 1] = true;
  ++rules.passes;
}

void drawDots(PaintRules& rules, const DrawingSettings& settings, int32_t firstDot, int32_t count) {
  rules.firstDot = firstDot;
  for (int32_t dot = firstDot; dot < firstDot + count; ++dot)
    rules.dotsDrawn[dot] = settings.priorDotsShown[dot];
}

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

int32_t saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, kLowestPixel, kHighestPixel));
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

bool isReset(const RecordedShape& shape) { return shape.kind == ShapeKind::Reset; }

// A rectangle after the first of a bar: the next piece of a dotted or dashed
// bar, in the bar's colour and band, at the style's spacing from `previous`.
void checkBarContinues(const PaintRules& rules, int32_t series, const HostRect& first,
                       const HostRect& previous, const HostRect& piece) {
  FUZZ_CHECK(piece.top == first.top && piece.bottom == first.bottom);
  const int64_t step = static_cast<int64_t>(piece.left) - previous.left;
  switch (rules.barStyles[series]) {
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

}  // namespace

PaintRules paintRulesOf(const DrawingSettings& settings) {
  PaintRules rules;
  rules.plot = settings.plot;
  rules.barStyles = settings.barStyles;
  rules.dotStyle = settings.dotStyle;
  rules.dotRadius = settings.dotRadius;
  const ProfileFamily family = greekOption(settings.kind).family;
  if (family == ProfileFamily::Gex) {
    // Volume carries the priors; open interest has none.
    if (settings.gexDisplay != 1) {
      drawSeries(rules, kGexVolumeSeries);
      drawDots(rules, settings, kGexDots, 5);
    }
    if (settings.gexDisplay != 0) drawSeries(rules, kGexOpenInterestSeries);
  } else if (family != ProfileFamily::None) {
    // Gamma or delta; three priors each.
    const bool gamma = family == ProfileFamily::Gamma;
    drawSeries(rules, gamma ? kGammaSeries : kDeltaSeries);
    drawDots(rules, settings, gamma ? kGammaDots : kDeltaDots, 3);
  }
  return rules;
}

int32_t seriesOfColor(const PaintRules& rules, HostColor color) {
  for (int32_t series = 0; series < kSeriesCount; ++series)
    if (rules.seriesDrawn[series] && seriesColor(series) == color) return series;
  return -1;
}

bool isDrawnDotColor(const PaintRules& rules, HostColor color) {
  for (int32_t dot = 0; dot < kPriorDotCount; ++dot)
    if (rules.dotsDrawn[dot] && priorDotColor(dot) == color) return true;
  return false;
}

bool plotHasRoom(const PlotArea& plot) {
  if (plot.right <= 0 || plot.bottom <= 0 || plot.right <= plot.left) return false;
  return static_cast<int64_t>(plot.bottom) - plot.top >= 2;
}

void CheckingCanvas::resetGraphicsState(int32_t which) {
  RecordingCanvas::resetGraphicsState(which);
  // The group so far: its primitives, then the resets closing it; the first
  // reset says which kind of shape it closes, and no primitive may come
  // before the resets are complete.
  const std::vector<RecordedShape>& group = shapes();
  const auto firstReset = std::find_if(group.begin(), group.end(), isReset);
  FUZZ_CHECK(firstReset != group.begin() && std::all_of(firstReset, group.end(), isReset));
  const std::vector<int32_t>& closing = firstReset->reset == kBarResets.front() ? kBarResets : kDotResets;
  const auto seen = static_cast<std::size_t>(group.end() - firstReset);
  FUZZ_CHECK(seen <= closing.size() && which == closing[seen - 1]);
  if (seen < closing.size()) return;
  const std::span<const RecordedShape> primitives(group.data(), group.size() - seen);
  for (const RecordedShape& shape : primitives)
    FUZZ_CHECK(shape.rect.left <= shape.rect.right && shape.rect.top <= shape.rect.bottom);
  if (&closing == &kBarResets) {
    checkBar(primitives);
    ++bars_;
  } else {
    checkDot(primitives);
    ++dots_;
  }
  clear();
}

void CheckingCanvas::finish() const { FUZZ_CHECK(shapes().empty()); }

void CheckingCanvas::checkBar(std::span<const RecordedShape> pieces) const {
  const HostRect& rect = pieces.front().rect;
  const HostRect& last = pieces.back().rect;
  for (const RecordedShape& piece : pieces) FUZZ_CHECK(piece.kind == ShapeKind::Rectangle);
  // Only the series the selected kind and display draw, each in its style,
  // every piece in the bar's colour.
  const int32_t series = seriesOfColor(rules_, pieces.front().color);
  FUZZ_CHECK(series >= 0);
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    FUZZ_CHECK(pieces[i].color == pieces.front().color);
    checkBarContinues(rules_, series, rect, pieces[i - 1].rect, pieces[i].rect);
  }
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

void CheckingCanvas::checkDot(std::span<const RecordedShape> parts) const {
  const int32_t r = rules_.dotRadius;
  const RecordedShape& shape = parts.back();
  HostFillRecord fill{};
  std::optional<int64_t> x, y;

  switch (rules_.dotStyle) {
    case kDiamondDot: {
      // The brush, then the corners top, right, bottom, left.
      FUZZ_CHECK(parts.size() == 2 && parts.front().kind == ShapeKind::Brush);
      FUZZ_CHECK(shape.kind == ShapeKind::Polygon && shape.points.size() == 4);
      fill = parts.front().fill;
      const std::vector<HostPoint>& p = shape.points;
      x = p[0].x;
      y = p[1].y;
      FUZZ_CHECK(p[0].y == saturated(*y - r) && p[2].x == *x && p[2].y == saturated(*y + r));
      FUZZ_CHECK(p[1].x == saturated(*x + r) && p[3].x == saturated(*x - r) && p[3].y == *y);
      break;
    }
    default:
      // An ellipse for a point, a square for any other shape, its box 2r wide.
      const bool point = rules_.dotStyle == kPointDot;
      FUZZ_CHECK(parts.size() == 1 && shape.kind == (point ? ShapeKind::Ellipse : ShapeKind::Rectangle));
      fill = point ? shape.fill : HostFillRecord{1, static_cast<int32_t>(shape.color), 0, 0};
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
