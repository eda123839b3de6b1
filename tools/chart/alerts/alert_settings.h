// Which alerts on the last price a run raises, as its command line sets them.
#pragma once

#include <cstdint>
#include <string>

namespace chart_tool::alerts {

struct AlertSettings {
  bool cross = false;     // the price crosses a level
  int32_t nearTicks = 0;  // the price comes within this many ticks of a level; 0: no such alert
  // The same level and kind is not alerted again within this much clock time.
  int64_t quiet_s = 300;

  bool any() const { return cross || nearTicks > 0; }
};

// The alerts of one chart: which are raised, and the program started with each.
struct AlertsPlan {
  AlertSettings raise;
  std::string command;  // started with each alert; empty: none
};

}  // namespace chart_tool::alerts
