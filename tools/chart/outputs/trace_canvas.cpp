#include "tools/chart/outputs/trace_canvas.h"

#include "tools/chart/outputs/series_and_drawings.h"
#include "tools/support/json_text.h"

namespace chart_tool::outputs {

using namespace chart_host;

namespace {

void writeRect(std::ostream& out, const HostRect& rect) {
  out << ", \"left\": " << rect.left << ", \"top\": " << rect.top << ", \"right\": " << rect.right
      << ", \"bottom\": " << rect.bottom;
}

}  // namespace

void TraceCanvas::beginRepaint(int64_t repaint, const std::string& chartTime) {
  repaint_ = repaint;
  chartTime_ = chartTime;
}

void TraceCanvas::begin(const char* operation) {
  out_ << "{\"repaint\": " << repaint_ << ", \"time\": " << support::jsonString(chartTime_) << ", \"op\": \""
       << operation << '"';
}

void TraceCanvas::selectBrush(const HostFillRecord& fill) {
  begin("brush");
  out_ << ", \"fill\": " << fill.kind << ", \"color\": \"" << colorText(static_cast<uint32_t>(fill.color))
       << "\"}\n";
  if (next_) next_->selectBrush(fill);
}

void TraceCanvas::resetGraphicsState(int32_t which) {
  begin("reset");
  out_ << ", \"which\": " << which << "}\n";
  if (next_) next_->resetGraphicsState(which);
}

void TraceCanvas::fillRectangle(const HostRect& rect, HostColor color) {
  begin("rectangle");
  writeRect(out_, rect);
  out_ << ", \"color\": \"" << colorText(color) << "\"}\n";
  if (next_) next_->fillRectangle(rect, color);
}

void TraceCanvas::drawPolygon(const HostPoint* points, int32_t count) {
  begin("polygon");
  out_ << ", \"points\": [";
  for (int32_t i = 0; points != nullptr && i < count; ++i)
    out_ << (i == 0 ? "[" : ", [") << points[i].x << ", " << points[i].y << "]";
  out_ << "]}\n";
  if (next_) next_->drawPolygon(points, count);
}

void TraceCanvas::drawEllipse(const HostRect& box, const HostFillRecord& fill) {
  begin("ellipse");
  writeRect(out_, box);
  out_ << ", \"fill\": " << fill.kind << ", \"color\": \"" << colorText(static_cast<uint32_t>(fill.color))
       << "\"}\n";
  if (next_) next_->drawEllipse(box, fill);
}

}  // namespace chart_tool::outputs
