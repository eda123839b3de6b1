// The host side of a reader call: a checking message log, the response text
// as a host hands it over, the charts of the run the readers of service text
// are called on, and the setting a fuzz input picks. Every logged line is
// checked as the host would rely on it, and as a reader of the log would (no
// raw control bytes, a readable length), and kept until the next reset, so a
// fuzzer can judge what a call logged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fuzz/reference_reading.h"
#include "study/host_interface.h"
#include "support/market_hours_chart.h"

struct LoggedLine {
  std::string text;
  int32_t alert;
};

// A record outside any chart whose only operation is the checking log (see
// log_only_host.h), one for the whole run.
HostStudyInterface& fuzzHost();

// Lines logged since the last reset, in order.
const std::vector<LoggedLine>& loggedLines();
void resetLoggedLines();
// A line of `alert` holding `part`, alone in the log.
bool loggedOnly(int alert, const char* part);

// The input as response text: a copy in a block of exactly size + 1 bytes
// ending in NUL, so a read past the terminator is caught. An input holding a
// NUL byte ends there, as a host text would.
std::unique_ptr<char[]> responseText(const uint8_t* data, size_t size);

// The run's charts of one-minute New York bars, never destroyed: the last
// half hour of Thursday 2024-06-06's market hours, then all of Friday's (a
// history maps times in the night between onto Thursday's last bar); or none,
// as a chart is before its data arrives.
MarketHoursChart& readerChart(bool withBars);

// Runs `body` inside one ordinary call of `chart` with the checking log in
// place of the chart's; loggedLines() then holds what it logged, and only that.
void callReader(MarketHoursChart& chart, const std::function<void(HostStudyInterface&)>& body);

namespace fuzz {

// The setting a reader fuzzer takes besides the text (a futures target, the
// premiums), picked by a hash of all the input's bytes: the same input always
// picks the same, and a mutation may move on.
template <class T>
const T& pickByInput(std::span<const T> choices, const uint8_t* data, size_t size) {
  uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ULL;
  return choices[hash % choices.size()];
}

// Calls `check(text, setting, reading)` for the input; an empty input is
// checked again as a missing text, which must read as the empty one.
template <class Setting, size_t kCount, class Check>
void checkReaderInput(const uint8_t* data, size_t size, const std::array<Setting, kCount>& settings,
                      const Check& check) {
  const auto text = responseText(data, size);
  ReferenceReading reading;
  readReference(text.get(), reading);
  const Setting& setting = pickByInput(std::span<const Setting>(settings), data, size);
  check(text.get(), setting, reading);
  if (size == 0) check(nullptr, setting, reading);
}

}  // namespace fuzz
