// The study's requests as the chart program reads them between calls, by the
// module's own rules and keys: whether they are halted, their interval, the
// daily window and when it opens, and what one call showed of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/study_instance.h"
#include "tools/chart/service_record.h"

namespace chart_tool {

// The study's halt flag: a refused key or a setting that cannot go into a
// request stops its requests until it is recalculated.
bool requestsHalted(chart_host::StudyInstance& instance);

// The "Request Interval" input, in seconds.
int64_t requestInterval_s(chart_host::StudyInstance& instance);

// Whether the study's daily request window is open at `now` (the chart's
// wall-clock time), by the module's own rule and the host's zone conversion.
bool requestWindowOpen(chart_host::StudyInstance& instance, HostDateTime now);

// When the window opens, in the words a trader reads: "09:30 New York time".
std::string requestStartText(chart_host::StudyInstance& instance);

// The service key the study sends (its "API KEY" input).
std::string serviceKey(chart_host::StudyInstance& instance);

// Reads what each ordinary call showed: its answer, the log lines the study
// wrote since the previous reading, the halt flag and the window. The
// instance must outlive the reader.
class CallReader {
 public:
  explicit CallReader(chart_host::StudyInstance& instance);
  ObservedCall read(HostDateTime now);

 private:
  chart_host::StudyInstance& instance_;
  std::size_t linesSeen_;
};

}  // namespace chart_tool
