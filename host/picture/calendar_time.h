// Calendar fields of a chart time (microseconds since 1899-12-30 00:00 in
// the chart's zone), for the labels of the time axis.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace chart_host {

struct CalendarTime {
  int64_t dayNumber;    // days since 1899-12-30
  int64_t secondOfDay;  // 0..86399
  int32_t year;
  int32_t month;  // 1..12
  int32_t day;    // 1..31
  int32_t hour;
  int32_t minute;
};

CalendarTime calendarTime(HostDateTime dateTime);

// "Jan".."Dec"; "?" for a month outside 1..12.
const char* monthAbbreviation(int32_t month);

}  // namespace chart_host
