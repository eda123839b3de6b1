// After every call: the picture described as the study stands (its title
// and its levels' names; the marks of age come before, from the live room),
// laid out, and the chart repainted, through the graphics trace (--trace)
// when one is asked for.
#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "tools/chart/outputs/picture_title.h"
#include "tools/chart/outputs/trace_canvas.h"
#include "tools/chart/run/after_call.h"

namespace chart_tool::outputs {

class ChartRepaint : public run::AfterCall {
 public:
  // Opens the trace file, if a path is given; false with the reason.
  bool open(const std::string& tracePath, std::string& error);
  void afterCall(run::CallRecord& call) override;
  // The trace written whole; false with the reason.
  bool finish(std::string& error);

 private:
  PictureDescription description_;
  std::string tracePath_;
  std::ofstream trace_;
  std::unique_ptr<TraceCanvas> canvas_;
};

}  // namespace chart_tool::outputs
