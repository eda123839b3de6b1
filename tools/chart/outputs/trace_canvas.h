// A canvas that writes every graphics operation of a study's repaint as one
// JSON line, with its coordinates and colour, and passes it on to another
// canvas (or none), so a person can see exactly what the study drew.
#pragma once

#include <cstdint>
#include <ostream>

#include "host/canvas.h"

namespace chart_tool {

using chart_host::Canvas;

}  // namespace chart_tool

namespace chart_tool::outputs {

class TraceCanvas : public Canvas {
 public:
  TraceCanvas(std::ostream& out, Canvas* next = nullptr) : out_(out), next_(next) {}
  // Lines written from now on carry this repaint number and chart time.
  void beginRepaint(int64_t repaint, const std::string& chartTime);

  void selectBrush(const HostFillRecord& fill) override;
  void resetGraphicsState(int32_t which) override;
  void fillRectangle(const HostRect& rect, HostColor color) override;
  void drawPolygon(const HostPoint* points, int32_t count) override;
  void drawEllipse(const HostRect& box, const HostFillRecord& fill) override;

 private:
  void begin(const char* operation);
  std::ostream& out_;
  Canvas* next_;
  int64_t repaint_ = 0;
  std::string chartTime_;
};

}  // namespace chart_tool::outputs
