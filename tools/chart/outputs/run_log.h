// The study's message log as a run writes it: each line with the time of the
// call it came on (the clock's time before the first) to the --log file and,
// unless quiet, to standard error, an alert marked ALERT; counted by kind for
// the status and the run's summary. Every line is written as one line (its
// control bytes escaped) with the service key hidden, whoever wrote it: the
// study, the host quoting an answer, or the program's own alerts.
#pragma once

#include <fstream>
#include <functional>
#include <string>

#include "host/message_log.h"
#include "tools/chart/outputs/console.h"
#include "tools/chart/run/message_counts.h"
#include "study/host_interface.h"

namespace chart_tool::outputs {

class RunLog {
 public:
  // The console must outlive the log; `now` gives the time a line is stamped with.
  RunLog(Console& console, std::function<HostDateTime()> now, std::string apiKey)
      : console_(console), now_(std::move(now)), apiKey_(std::move(apiKey)) {}

  // Opens the log file, if a path is given; false with the reason.
  bool open(const std::string& path, std::string& error);
  void add(const chart_host::LogLine& line);

  const run::MessageCounts& counts() const { return counts_; }

 private:
  Console& console_;
  std::function<HostDateTime()> now_;
  std::string apiKey_;
  std::ofstream file_;
  run::MessageCounts counts_;
};

// Opens `path` for writing from empty, unless it is empty; false with the
// reason. The outputs written at the end are opened once at the start too,
// so a path that cannot be written stops the run before it begins.
bool openOutputFile(std::ofstream& file, const std::string& path, std::string& error);

}  // namespace chart_tool::outputs
