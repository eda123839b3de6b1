#include "tools/chart/run/real_clock.h"

#include <algorithm>
#include <chrono>

#include "tools/support/date_time_text.h"
#include "tools/support/interrupts.h"

namespace chart_tool::run {

HostDateTime RealClock::now() const {
  const auto since1970 = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  const HostDateTime utc = support::kHostDateTimeOf1970 + since1970.count();
  HostDateTime local = utc;
  chart_.convertFromZone(utc, "UTC+00", local);
  return local;
}

void RealClock::waitUntil(HostDateTime time) {
  // In short naps, so an interrupt ends a long wait at once; work asked
  // meanwhile wakes a nap.
  constexpr HostDateTime kNap_us = 200000;
  for (HostDateTime ahead = time - now(); ahead > 0 && !support::interrupted(); ahead = time - now())
    waitWork_.napFor(std::chrono::microseconds(std::min(ahead, kNap_us)));
}

}  // namespace chart_tool::run
