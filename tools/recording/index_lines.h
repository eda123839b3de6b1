// The lines of a recording's index (exchanges.jsonl) as text: the header
// line, then one line per exchange. Each is one JSON object ending in a line
// feed; an exchange's line names its body file and gives the body's size and
// checksum, so a reader can tell a body that is not what the line says. The
// readers check every field and say what is wrong in a few words, without
// file or line (the caller knows them).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tools/recording/recorded_exchange.h"

namespace recording {

// What an exchange's line says of its body file.
struct BodyStamp {
  uint64_t bytes = 0;
  std::string checksum;  // as checksumText writes it
};

// The body file of exchange `number`: "bodies/000001.body".
std::string bodyFileOf(int64_t number);

// The lines, each ending in a line feed; false with the reason when a time
// cannot be written (outside years 0001 to 9999).
bool headerLine(const RecordingHeader& header, std::string& line, std::string& error);
bool exchangeLine(const RecordedExchange& exchange, const BodyStamp& stamp, std::string& line, std::string& error);

// Reads one line (without its line feed). The exchange's body is not read
// here; its bodyFile must be the one its number names.
bool readHeaderLine(std::string_view line, RecordingHeader& header, std::string& error);
bool readExchangeLine(std::string_view line, RecordedExchange& exchange, BodyStamp& stamp, std::string& error);

}  // namespace recording
