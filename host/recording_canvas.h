// A canvas that keeps every graphics operation a study performs, in order,
// with its coordinates and colour, so tests can check what a user would see.
#pragma once

#include <cstdint>
#include <vector>

#include "host/canvas.h"

namespace chart_host {

enum class ShapeKind { Brush, Reset, Rectangle, Polygon, Ellipse };

struct RecordedShape {
  ShapeKind kind = ShapeKind::Rectangle;
  HostRect rect{};          // rectangle, or an ellipse's box
  HostColor color = 0;      // rectangle colour, or the colour of the fill
  HostFillRecord fill{};    // brush and ellipse
  std::vector<HostPoint> points;  // polygon
  int32_t reset = 0;        // which reset, 1..6
};

class RecordingCanvas : public Canvas {
 public:
  void selectBrush(const HostFillRecord& fill) override;
  void resetGraphicsState(int32_t which) override;
  void fillRectangle(const HostRect& rect, HostColor color) override;
  void drawPolygon(const HostPoint* points, int32_t count) override;
  void drawEllipse(const HostRect& box, const HostFillRecord& fill) override;

  const std::vector<RecordedShape>& shapes() const { return shapes_; }
  // Only the shapes of one kind, in order.
  std::vector<RecordedShape> shapesOf(ShapeKind kind) const;
  void clear() { shapes_.clear(); }

 private:
  std::vector<RecordedShape> shapes_;
};

}  // namespace chart_host
