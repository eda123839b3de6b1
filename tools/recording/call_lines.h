// A recording's call lines (version 2 on) as text: one JSON object a call,
// ending in a line feed, that the writer begins with "call" so a reader tells
// it from an exchange's line by its first bytes. The reader checks every
// field and says what is wrong in a few words, without file or line.
#pragma once

#include <string>
#include <string_view>

#include "tools/recording/recorded_exchange.h"

namespace recording {

// Whether an index line is a call's line.
bool isCallLine(std::string_view line);

// The line, ending in a line feed; false with the reason when a time cannot
// be written (outside years 0001 to 9999).
bool callLine(const RecordedCall& call, std::string& line, std::string& error);

// Reads one line (without its line feed).
bool readCallLine(std::string_view line, RecordedCall& call, std::string& error);

}  // namespace recording
