// After every call: the run's status (see status_file.h) of the chart as the
// picture shows it, put on the call for the live page and, with --status,
// written to its file. A file that cannot be written is told once; the run
// goes on.
#pragma once

#include <string>

#include "tools/chart/live/status_file.h"
#include "tools/chart/outputs/console.h"
#include "tools/chart/run/after_call.h"

namespace chart_tool::live {

class StatusReport : public run::AfterCall {
 public:
  // The console must outlive the writer; `apiKey` is hidden in all it writes.
  StatusReport(outputs::Console& console, std::string apiKey) : console_(console), apiKey_(std::move(apiKey)) {}
  // Tries the file at the start; false with the reason. An empty path keeps none.
  bool open(const std::string& path, std::string& error) { return file_.open(path, error); }
  void afterCall(run::CallRecord& call) override;

 private:
  outputs::Console& console_;
  std::string apiKey_;
  StatusFile file_;
};

}  // namespace chart_tool::live
