// The study's requests as the chart program reads them between calls, through
// the study's door: when the daily window opens, in words, and what one call
// showed of them.
#pragma once

#include <cstddef>
#include <string>

#include "host/study_instance.h"
#include "tools/chart/run/service_record.h"

namespace chart_tool::run {


// When the window opens, in the words a trader reads: "09:30 New York time".
std::string requestStartText(chart_host::StudyInstance& instance);

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

}  // namespace chart_tool::run
