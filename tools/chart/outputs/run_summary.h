// The paragraph a run ends with: how the service answered over the run, when
// the levels were last good, whether requests were halted.
#pragma once

#include <cstdint>
#include <string>

#include "tools/chart/command_line/run_plan.h"
#include "tools/chart/run/service_record.h"
#include "tools/chart/outputs/console.h"
#include "tools/chart/outputs/run_log.h"
#include "tools/chart/run/after_call.h"

namespace chart_tool::outputs {

using namespace chart_tool::run;

// e.g. "301 calls: 55 answers, 1 history answer, 3 failed transfers (Couldn't
// connect to server ×3), 2 answers refused (HTTP 500 ×2); last good answer at
// 2026-03-02 10:20:05; levels STALE at the end; requests not halted"
std::string serviceSummary(const ServiceRecord& record);

// The run's paragraph on standard error at its end, unless quiet: how the
// service answered, the study's messages, and the files written.
class RunSummary : public run::AfterCall {
 public:
  // All three must outlive the summary; the console hides the key in what it prints.
  RunSummary(const command_line::OutputSettings& outputs, const RunLog& log, Console& console)
      : outputs_(outputs), log_(log), console_(console) {}
  void afterCall(run::CallRecord& call) override;
  // The calls the run made.
  int64_t calls() const { return calls_; }
  void print(const ServiceRecord& record) const;

 private:
  const command_line::OutputSettings& outputs_;
  const RunLog& log_;
  Console& console_;
  int64_t calls_ = 0;
};

}  // namespace chart_tool::outputs
