#include "host/recording_canvas.h"

namespace chart_host {

void RecordingCanvas::selectBrush(const HostFillRecord& fill) {
  RecordedShape shape;
  shape.kind = ShapeKind::Brush;
  shape.fill = fill;
  shape.color = static_cast<HostColor>(fill.color);
  shapes_.push_back(shape);
}

void RecordingCanvas::resetGraphicsState(int32_t which) {
  RecordedShape shape;
  shape.kind = ShapeKind::Reset;
  shape.reset = which;
  shapes_.push_back(shape);
}

void RecordingCanvas::fillRectangle(const HostRect& rect, HostColor color) {
  RecordedShape shape;
  shape.kind = ShapeKind::Rectangle;
  shape.rect = rect;
  shape.color = color;
  shapes_.push_back(shape);
}

void RecordingCanvas::drawPolygon(const HostPoint* points, int32_t count) {
  RecordedShape shape;
  shape.kind = ShapeKind::Polygon;
  shape.points.assign(points, points + count);
  shapes_.push_back(std::move(shape));
}

void RecordingCanvas::drawEllipse(const HostRect& box, const HostFillRecord& fill) {
  RecordedShape shape;
  shape.kind = ShapeKind::Ellipse;
  shape.rect = box;
  shape.fill = fill;
  shape.color = static_cast<HostColor>(fill.color);
  shapes_.push_back(shape);
}

std::vector<RecordedShape> RecordingCanvas::shapesOf(ShapeKind kind) const {
  std::vector<RecordedShape> found;
  for (const RecordedShape& shape : shapes_) {
    if (shape.kind == kind) found.push_back(shape);
  }
  return found;
}

}  // namespace chart_host
