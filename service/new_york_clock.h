// The wall clock of the New York market, which decides when the history
// window opens and when the futures conversion is due. The host's clock is
// read (its alternate clock when the host says so) and converted to New York
// time with the host's own time-zone operation.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

// 09:30 and 16:00: the regular session.
inline constexpr HostDateTime kMarketOpenTimeOfDay =
    9 * kMicrosecondsPerHour + 30 * kMicrosecondsPerMinute;
inline constexpr HostDateTime kMarketCloseTimeOfDay = 16 * kMicrosecondsPerHour;

HostDateTime newYorkClockNow(HostStudyInterface& sc);

// The time of day of a date-time, 0 up to one day.
inline HostDateTime timeOfDay(HostDateTime t) {
  const HostDateTime rest = t % kMicrosecondsPerDay;
  return rest < 0 ? rest + kMicrosecondsPerDay : rest;
}

}  // namespace tarvio
