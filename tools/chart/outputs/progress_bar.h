// The run's progress on a terminal: a bar of the calls made, redrawn every
// fifth call, for runs of 20 calls or more.
#pragma once

#include <cstdint>

#include "tools/chart/outputs/console.h"
#include "tools/chart/run/after_call.h"

namespace chart_tool::outputs {

class ProgressBar : public run::AfterCall {
 public:
  ProgressBar(Console& console, int64_t totalCalls)
      : console_(console), totalCalls_(totalCalls), on_(console.progressOn() && totalCalls >= 20) {}
  void afterCall(run::CallRecord& call) override;
  // Takes the bar off the terminal at the end of the run.
  void end() { console_.clearProgress(); }

 private:
  Console& console_;
  int64_t totalCalls_;
  bool on_;
};

}  // namespace chart_tool::outputs
