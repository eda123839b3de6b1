// Conversions between HostDateTime values and Unix time, and the calendar
// facts of a HostDateTime that the request schedule needs.
//
// A HostDateTime counts microseconds since 1899-12-30 00:00; Unix time counts
// seconds since 1970-01-01 00:00, which is 25569 days later. All functions
// accept any value and never overflow.
#pragma once

#include <chrono>
#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

// The host's day 0: 1899-12-30.
inline constexpr std::chrono::sys_days kHostDayZero{std::chrono::year{1899} / 12 / 30};
// Days from 1899-12-30 to 1970-01-01 (25569).
inline constexpr int64_t kUnixEpochDayNumber =
    (std::chrono::sys_days{std::chrono::year{1970} / 1 / 1} - kHostDayZero).count();
inline constexpr int64_t kUnixEpochHostDateTime = kUnixEpochDayNumber * kMicrosecondsPerDay;

// Whole Unix seconds of t, truncated toward zero (so an instant half a second
// before 1970 reads 0). Exact for every value.
int64_t HostDateTimeToUnixSeconds(HostDateTime t);

// The HostDateTime of s Unix seconds. 0 gives 0 rather than 1970-01-01, so a
// zero timestamp stays the empty date-time. Values beyond the HostDateTime
// range give its nearest end.
HostDateTime UnixSecondsToHostDateTime(int64_t s);

// Whole days since 1899-12-30 (truncating division, so days before it count
// toward zero).
inline int64_t dayNumberOf(HostDateTime t) { return t / kMicrosecondsPerDay; }

// 0 Sunday, 1 Monday, ..., 6 Saturday, for any day number dayNumberOf gives
// (within about 300000 years of day 0).
inline int32_t weekdayOfDayNumber(int64_t dayNumber) {
  const std::chrono::weekday weekday{kHostDayZero + std::chrono::days{dayNumber}};
  return static_cast<int32_t>(weekday.c_encoding());
}

// now - then, saturated at the int64 ends: host clocks are not trusted to be
// sane, and a wrapped difference would read as a long wait or none at all.
inline int64_t elapsedMicroseconds(HostDateTime now, HostDateTime then) {
  int64_t elapsed = 0;
  if (__builtin_sub_overflow(now, then, &elapsed)) return now > then ? INT64_MAX : INT64_MIN;
  return elapsed;
}

}  // namespace tarvio
