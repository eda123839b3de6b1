// The host's date-time (HostDateTime: microseconds since 1899-12-30 00:00,
// wall-clock time of whatever zone the caller means) as people and files
// write it, and the host side's epoch and day arithmetic for the programs
// and the recording. Days are counted by flooring, so a time before
// 1899-12-30 falls on the day it shows. Readers are strict: a value that is
// not a real calendar date or time of day reads as nothing. Every function
// is pure and safe from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "study/host_interface.h"

namespace support {

// The day number (days since 1899-12-30) of 1970-01-01, where Unix time starts.
inline constexpr int64_t kDayNumberOf1970 = 25569;
inline constexpr HostDateTime kHostDateTimeOf1970 = kDayNumberOf1970 * kMicrosecondsPerDay;

// The day a time falls on, and the time at that day's start; any value (the
// first day the type reaches starts at its least value).
int64_t dayNumberOf(HostDateTime time);
HostDateTime startOfDay(HostDateTime time);

// The start of a date of the proleptic Gregorian calendar, or nothing when
// the date does not exist (month 1..12, February 29 in leap years only).
std::optional<HostDateTime> timeOfDate(int64_t year, int32_t month, int32_t day);

// "YYYY-MM-DD" or "YYYY/MM/DD" from year 1900 on, as the start of that day.
std::optional<HostDateTime> readDate(std::string_view text);
// "HH:MM", "HH:MM:SS" or "HH:MM:SS.ffffff": microseconds since midnight.
std::optional<int64_t> readTimeOfDay(std::string_view text);
// A date and a time of day separated by one space or a 'T' ("2026-03-02
// 09:30", "2026/03/02 09:30:00", "2026-03-02T09:30:00"), or a date alone.
std::optional<HostDateTime> readDateTime(std::string_view text);

// "YYYY-MM-DD HH:MM:SS"; fractions of a second are dropped. Any value.
std::string formatDateTime(HostDateTime time);
// "HH:MM:SS".
std::string formatTimeOfDay(HostDateTime time);

// To the microsecond, as a recording keeps times: "2026-03-02
// 10:15:00.000000". Years 0001 to 9999 only: a chart's clock never shows
// others, and the reader refuses them rather than guess. The writer gives
// nothing for a time outside them; the reader takes exactly that shape.
std::optional<std::string> formatExactDateTime(HostDateTime time);
std::optional<HostDateTime> readExactDateTime(std::string_view text);

}  // namespace support
