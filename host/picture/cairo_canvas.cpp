#include "host/picture/cairo_canvas.h"

#include <algorithm>

#include "host/picture/picture_text.h"

namespace chart_host {

namespace {

constexpr int32_t kSolidFill = 1;
// Cairo keeps coordinates in 24.8 fixed point; pixels the host saturated to
// the ends of the int32 range are brought back well inside it.
constexpr double kFarPixel = 1.0e6;

double near(int32_t pixel) { return std::clamp<double>(pixel, -kFarPixel, kFarPixel); }

}  // namespace

void CairoCanvas::selectBrush(const HostFillRecord& fill) { brush_ = fill; }

void CairoCanvas::resetGraphicsState(int32_t) { brush_ = kDefaultBrush; }

void CairoCanvas::fillRectangle(const HostRect& rect, HostColor color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  fillPixels(cr_, near(rect.left), near(rect.top), near(rect.right), near(rect.bottom), color);
}

void CairoCanvas::drawPolygon(const HostPoint* points, int32_t count) {
  if (points == nullptr || count < 3) return;
  // Corners at pixel centres, so a corner pixel is as covered as the host's.
  for (int32_t i = 0; i < count; ++i) {
    cairo_line_to(cr_, near(points[i].x) + 0.5, near(points[i].y) + 0.5);
  }
  cairo_close_path(cr_);
  paintPath(brush_);
}

void CairoCanvas::drawEllipse(const HostRect& box, const HostFillRecord& fill) {
  const double width = near(box.right) - near(box.left);
  const double height = near(box.bottom) - near(box.top);
  if (!(width > 0.0) || !(height > 0.0)) return;
  cairo_save(cr_);
  cairo_translate(cr_, near(box.left) + width / 2.0, near(box.top) + height / 2.0);
  cairo_scale(cr_, width / 2.0, height / 2.0);
  cairo_arc(cr_, 0.0, 0.0, 1.0, 0.0, 6.283185307179586);
  cairo_restore(cr_);
  paintPath(fill);
}

void CairoCanvas::paintPath(const HostFillRecord& fill) {
  setColor(cr_, static_cast<HostColor>(fill.color));
  if (fill.kind == kSolidFill) {
    cairo_fill(cr_);
  } else {
    cairo_set_line_width(cr_, 1.0);
    cairo_stroke(cr_);
  }
}

}  // namespace chart_host
