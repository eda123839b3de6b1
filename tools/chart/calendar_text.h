// Dates and times of day as people write them, read into and written from
// HostDateTime values (microseconds since 1899-12-30 00:00, wall-clock time of
// whatever zone the caller means). Readers are strict: a value that is not a
// real calendar date or time of day reads as nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The calendar itself (dayNumberOfDate and the rest), for callers that read
// and write dates with these.
#include "host/civil_calendar.h"
#include "study/host_interface.h"

namespace chart_tool {

// "YYYY-MM-DD" or "YYYY/MM/DD", as the start of that day.
std::optional<HostDateTime> readDate(std::string_view text);
// "HH:MM", "HH:MM:SS" or "HH:MM:SS.ffffff": microseconds since midnight.
std::optional<int64_t> readTimeOfDay(std::string_view text);
// A date and a time of day separated by one space or a 'T' ("2026-03-02
// 09:30", "2026/03/02 09:30:00", "2026-03-02T09:30:00"), or a date alone.
std::optional<HostDateTime> readDateTime(std::string_view text);

// "YYYY-MM-DD HH:MM:SS"; fractions of a second are dropped.
std::string formatDateTime(HostDateTime value);
// "HH:MM:SS".
std::string formatTimeOfDay(HostDateTime value);

}  // namespace chart_tool
