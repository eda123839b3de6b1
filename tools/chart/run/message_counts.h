// The run's message log counted by kind: what the study said (its messages,
// and how many of them were alerts) apart from the level alerts the program
// raises itself, so neither hides in the other's count.
#pragma once

#include <cstdint>

namespace chart_tool::run {

struct MessageCounts {
  int64_t studyMessages = 0;
  int64_t studyAlerts = 0;
  int64_t levelAlerts = 0;
};

}  // namespace chart_tool::run
