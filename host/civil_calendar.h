// The chart host's calendar arithmetic: day numbers (whole days since
// 1899-12-30, the origin of HostDateTime) against dates of the proleptic
// Gregorian calendar, and the weekday rules of time-zone switches.
//
// std::chrono's calendar types do the work. Their years end at +-32767 while a
// HostDateTime reaches about +-292000 years, so dates are first moved by whole
// 400-year cycles into years chrono covers: a cycle is 146097 days, a whole
// number of weeks, so dates and weekdays move with it unchanged. Every
// function is pure and safe from any thread.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace chart_host {

struct CivilDate {
  int64_t year;
  int32_t month;  // 1..12
  int32_t day;    // 1..31

  bool operator==(const CivilDate&) const = default;
};

// The day number of 1970-01-01, where Unix time starts.
inline constexpr int64_t kDayNumberOf1970 = 25569;

// The day number of a date: month 1..12, day 1..31. A day past the end of
// its month counts on into the next one (February 30 is March 1 or 2).
int64_t dayNumberOfDate(int64_t year, int32_t month, int32_t day);

// The date of a day number; any day number.
CivilDate dateOfDayNumber(int64_t dayNumber);

// Whether the date exists (February 29 only in leap years).
bool isRealDate(int64_t year, int32_t month, int32_t day);

// The day number of the week-th weekday (0 Sunday .. 6 Saturday) of a month:
// week 1..4, or 5 for the last one in the month ("the second Sunday of
// March", "the last Sunday of October").
int64_t dayNumberOfWeekdayInMonth(int64_t year, int32_t month, int32_t week, int32_t weekday);

// 0 Sunday .. 6 Saturday.
int32_t weekdayOfDayNumber(int64_t dayNumber);

// The day a HostDateTime falls on, and how far into it (0 up to one day);
// any value, times before 1899-12-30 included.
int64_t dayNumberOf(HostDateTime dateTime);
int64_t microsecondOfDay(HostDateTime dateTime);

}  // namespace chart_host
