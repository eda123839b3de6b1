// How old the levels on the chart are, in the words the picture shows: the
// time of the last good answer and its age in the title bar, a mark a trader
// cannot miss when the levels are no longer live, and in place of an empty
// chart the reason it has no levels.
#pragma once

#include <cstdint>
#include <string>

#include "tools/chart/run/service_record.h"

namespace chart_tool::live {

using run::ServiceRecord;

struct DataAgeMarks {
  std::string dataAge;     // "levels as of 10:20:05, 40 s ago"; empty before the first
  std::string warning;     // "STALE" or "REQUESTS HALTED"; empty while the levels are live
  std::string plotNotice;  // why there are no levels, while there is no good answer
};

// `requestStart` is when the window opens, e.g. "09:30 New York time".
DataAgeMarks dataAgeMarks(const ServiceRecord& record, const std::string& requestStart);

// "40 s ago" up to 90 s, "3 min ago" up to 90 minutes, then "2 h ago", each
// rounded to the nearest whole unit.
std::string ageText(int64_t age_s);

}  // namespace chart_tool::live
