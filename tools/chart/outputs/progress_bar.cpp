#include "tools/chart/outputs/progress_bar.h"

#include <cstdio>

#include "tools/support/date_time_text.h"

namespace chart_tool::outputs {

void ProgressBar::afterCall(run::CallRecord& call) {
  const int64_t done = call.number;
  if (!on_ || (done % 5 != 0 && done != totalCalls_)) return;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(done * kWidth / totalCalls_);
  char bar[160];
  std::snprintf(bar, sizeof bar, "[%.*s%.*s] %3d%%  %s  %lld/%lld calls", filled, "##############################",
                kWidth - filled, "..............................", static_cast<int>(done * 100 / totalCalls_),
                support::formatTimeOfDay(call.now).c_str(), static_cast<long long>(done),
                static_cast<long long>(totalCalls_));
  console_.showProgress(bar);
}

}  // namespace chart_tool::outputs
