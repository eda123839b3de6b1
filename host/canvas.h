// What a study's graphics callback paints on: the host's graphics operations
// forward here. Implementations record the primitives (tests) or render them.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace chart_host {

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void selectBrush(const HostFillRecord& fill) = 0;
  // One of the host's six drawing-state resets, numbered 1..6.
  virtual void resetGraphicsState(int32_t which) = 0;
  virtual void fillRectangle(const HostRect& rect, HostColor color) = 0;
  virtual void drawPolygon(const HostPoint* points, int32_t count) = 0;
  virtual void drawEllipse(const HostRect& box, const HostFillRecord& fill) = 0;
};

}  // namespace chart_host
