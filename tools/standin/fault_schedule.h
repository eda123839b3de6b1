// The text of the schedule options (--fault-schedule, --delay-schedule):
// comma-separated entries N[-M]:VALUE, the N-th request (or the N-th to the
// M-th, counted from 1) and what its answer gets. Read strictly: the whole
// text, no blanks, no empty entry, runs that do not overlap. A failure's
// message is one line naming the entry, in words that follow the option's
// name. Pure functions.
#pragma once

#include <string_view>
#include <vector>

#include "tools/standin/fault_plan.h"
#include "tools/support/result.h"

namespace standin {

// The longest delay a schedule gives an answer, in seconds.
inline constexpr double kMaxScheduledDelaySeconds = 60;

// "3:http500,5:close,8-9:error": each MODE one of faultNames().
support::Result<std::vector<ScheduledFault>> faultScheduleFromText(std::string_view text);

// "2:0.5,4-6:2": each delay in decimal seconds from 0 to 60.
support::Result<std::vector<ScheduledDelay>> delayScheduleFromText(std::string_view text);

}  // namespace standin
