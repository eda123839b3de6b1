#include "tools/chart/real_clock.h"

#include <chrono>
#include <thread>

#include "tools/chart/calendar_text.h"

namespace chart_tool {

HostDateTime RealClock::now() const {
  const auto since1970 = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  const HostDateTime utc = chart_host::dayNumberOfDate(1970, 1, 1) * kMicrosecondsPerDay + since1970.count();
  HostDateTime local = utc;
  chart_.convertFromZone(utc, "UTC+00", local);
  return local;
}

void RealClock::waitUntil(HostDateTime time) {
  const HostDateTime ahead = time - now();
  if (ahead > 0) std::this_thread::sleep_for(std::chrono::microseconds(ahead));
}

}  // namespace chart_tool
