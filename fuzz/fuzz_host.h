// The host side of a parser call outside any chart: a host record whose only
// wired operation is the message log, and the response text as a host hands
// it over. Every logged line is checked as the host would rely on it, and as
// a reader of the log would (no raw control bytes, a readable length), and
// kept until the next reset, so a fuzzer can judge what a call logged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "study/host_interface.h"

struct LoggedLine {
  std::string text;
  int32_t alert;
};

// One record for the whole run; all operations but the log are null, so a
// parser reaching for any other one crashes the run.
HostStudyInterface& fuzzHost();

// Lines logged since the last reset, in order.
const std::vector<LoggedLine>& loggedLines();
void resetLoggedLines();

// The input as response text: a copy in a block of exactly size + 1 bytes
// ending in NUL, so a read past the terminator is caught. An input holding a
// NUL byte ends there, as a host text would.
std::unique_ptr<char[]> responseText(const uint8_t* data, size_t size);
