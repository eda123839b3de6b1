#include "tools/chart/outputs/chart_repaint.h"

#include "tools/chart/outputs/run_log.h"
#include "tools/chart/run/call_reader.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::outputs {

bool ChartRepaint::open(const std::string& tracePath, std::string& error) {
  tracePath_ = tracePath;
  if (!openOutputFile(trace_, tracePath, error)) return false;
  if (trace_.is_open()) canvas_ = std::make_unique<TraceCanvas>(trace_);
  return true;
}

void ChartRepaint::afterCall(run::CallRecord& call) {
  description_.describe(call.picture, call.instance, call.now);
  chart_host::layOutChartPicture(call.instance, call.picture);
  if (canvas_) canvas_->beginRepaint(call.number, support::formatDateTime(call.now));
  call.instance.paint(canvas_.get());
}

bool ChartRepaint::finish(std::string& error) {
  if (tracePath_.empty()) return true;
  trace_.flush();
  if (trace_) return true;
  error = tracePath_ + ": writing failed";
  return false;
}

}  // namespace chart_tool::outputs
