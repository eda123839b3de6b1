// The stretch of the latest trading day the majors history covers: today's
// regular session up to now on a weekday, Friday's whole session on a
// weekend. Before today's open the window is empty.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

struct HistoryWindow {
  int64_t startUnixSeconds;
  int64_t endUnixSeconds;
  bool empty() const { return startUnixSeconds >= endUnixSeconds; }
};

// From the host's clock (New York wall-clock time), converted to UTC Unix
// seconds through the chart's time zone.
HistoryWindow currentHistoryWindow(HostStudyInterface& sc);

}  // namespace tarvio
