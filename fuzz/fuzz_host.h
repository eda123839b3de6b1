// The host side of a reader call: a checking message log, the response text
// as a host hands it over, and the charts of the run the readers of service
// text are called on. Every logged line is checked as the host would rely on
// it, and as a reader of the log would (no raw control bytes, a readable
// length), and kept until the next reset, so a fuzzer can judge what a call
// logged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
