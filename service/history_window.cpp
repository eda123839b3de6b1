#include "service/history_window.h"

#include <algorithm>

#include "service/new_york_clock.h"
#include "study/date_time.h"
#include "study/host_calls.h"
#include "study/time_zone_table.h"

namespace tarvio {

namespace {

// New York wall-clock time to UTC Unix seconds, by way of the chart's zone.
int64_t newYorkToUnixSeconds(HostStudyInterface& sc, HostDateTime newYork) {
  HostCalls host(sc);
  HostDateTime chartTime = newYork;
  host.convertFromTimeZone(chartTime, newYork, kNewYorkZoneText);
  HostDateTime utc = chartTime;
  host.convertToTimeZone(utc, chartTime, kUtcZoneText);
  return HostDateTimeToUnixSeconds(utc);
}

}  // namespace

HistoryWindow currentHistoryWindow(HostStudyInterface& sc) {
  const HostDateTime now = newYorkClockNow(sc);
  const int64_t day = dayNumberOf(now);
  const HostDateTime dayStart = day * kMicrosecondsPerDay;
  HostDateTime start = 0;
  HostDateTime end = 0;
  switch (weekdayOfDayNumber(day)) {
    case 6:  // Saturday: Friday's session
      start = dayStart - kMicrosecondsPerDay + kMarketOpenTimeOfDay;
      end = dayStart - kMicrosecondsPerDay + kMarketCloseTimeOfDay;
      break;
    case 0:  // Sunday: Friday's session
      start = dayStart - 2 * kMicrosecondsPerDay + kMarketOpenTimeOfDay;
      end = dayStart - 2 * kMicrosecondsPerDay + kMarketCloseTimeOfDay;
      break;
    default:  // today's session so far
      start = dayStart + kMarketOpenTimeOfDay;
      end = std::min(now, dayStart + kMarketCloseTimeOfDay);
      break;
  }
  return HistoryWindow{newYorkToUnixSeconds(sc, start), newYorkToUnixSeconds(sc, end)};
}

}  // namespace tarvio
