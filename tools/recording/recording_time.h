// Times in a recording as the chart shows them, to the microsecond:
// "2026-03-02 10:15:00.000000" (the chart's wall-clock time, no zone). Years
// 0001 to 9999 only: a clock of a chart never shows others, and a reader
// refuses them rather than guess.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "study/host_interface.h"

namespace recording {

// The text of `time`, or nothing for a time outside years 0001 to 9999.
std::optional<std::string> formatRecordingTime(HostDateTime time);

// The time of exactly that text, or nothing (a date that does not exist, a
// field out of range, any other shape).
std::optional<HostDateTime> readRecordingTime(std::string_view text);

}  // namespace recording
