// The bars a recorded chart showed, as the recording's bars.csv: the plain
// layout the chart program's bar files take (datetime,open,high,low,close,
// volume), times in the chart's zone, every price and volume written so that
// it reads back to the very same value.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "study/host_interface.h"

namespace recording {

struct RecordedBar {
  HostDateTime dateTime = 0;
  float open = 0;
  float high = 0;
  float low = 0;
  float close = 0;
  float volume = 0;
};

// The file's text, or nothing when a bar's time is outside years 0001 to 9999.
std::optional<std::string> barsCsvText(const std::vector<RecordedBar>& bars);

}  // namespace recording
