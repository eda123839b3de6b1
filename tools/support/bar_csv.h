// Price bars as plain CSV, the layout bar files and recordings share: a
// header "datetime,open,high,low,close,volume", then one bar a line,
// "2026-03-02 09:30:00,5800.25,5801.5,5799.75,5801,1250". Times are the
// chart's wall-clock times, or UTC ending in 'Z' ("2026-03-02T14:30:00Z");
// a fraction of a second is written only when there is one. Every price and
// volume is written so that it reads back, through a double as bar files are
// read, to the very same float. Stateless and thread-safe.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "study/host_interface.h"

namespace support {

struct PriceBar {
  HostDateTime dateTime = 0;
  float open = 0;
  float high = 0;
  float low = 0;
  float close = 0;
  float volume = 0;
};

// The header's column names, in their order.
inline constexpr std::array<std::string_view, 6> kBarCsvColumns = {"datetime", "open",  "high",
                                                                   "low",      "close", "volume"};

enum class BarTimes { Chart, Utc };

// The file's text, or nothing when a bar's time is outside years 0001 to 9999.
std::optional<std::string> barCsvText(const std::vector<PriceBar>& bars, BarTimes times = BarTimes::Chart);

}  // namespace support
