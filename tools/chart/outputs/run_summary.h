// The paragraph a run ends with: how the service answered over the run, when
// the levels were last good, whether requests were halted.
#pragma once

#include <string>

#include "tools/chart/live/service_record.h"

namespace chart_tool::outputs {

using namespace chart_tool::live;

// e.g. "301 calls: 55 answers, 1 history answer, 3 failed transfers (Couldn't
// connect to server ×3), 2 answers refused (HTTP 500 ×2); last good answer at
// 2026-03-02 10:20:05; levels STALE at the end; requests not halted"
std::string serviceSummary(const ServiceRecord& record);

}  // namespace chart_tool::outputs
