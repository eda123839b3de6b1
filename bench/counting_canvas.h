// A canvas that only counts what is painted on it, so a benchmark can check
// once, outside its timing, that a repaint really draws.
#pragma once

#include <cstdint>

#include "host/canvas.h"

using namespace chart_host;

class CountingCanvas : public Canvas {
 public:
  void selectBrush(const HostFillRecord&) override {}
  void resetGraphicsState(int32_t) override {}
  void fillRectangle(const HostRect&, HostColor) override { ++rectangles; }
  void drawPolygon(const HostPoint*, int32_t) override { ++polygons; }
  void drawEllipse(const HostRect&, const HostFillRecord&) override { ++ellipses; }

  int64_t rectangles = 0;
  int64_t polygons = 0;
  int64_t ellipses = 0;
};
