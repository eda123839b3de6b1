// Reads a recording's index text whole and checks it: the header first, then
// exchange lines numbered 1, 2, ... and, from version 2 on, call lines
// numbered 1, 2, ... among them. A last line without its line feed was cut by
// a run that ended mid-write: what came before it is read and a note says so.
// Calls end before the first one handed an exchange the index does not hold
// (the run ended before that exchange was written). Bodies are not read here
// (see readRecording).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/recording/index_lines.h"

namespace recording {

struct IndexContents {
  RecordingHeader header;
  std::vector<RecordedExchange> exchanges;  // bodies not read
  std::vector<BodyStamp> stamps;            // one per exchange
  std::vector<int> lineNumbers;             // of each exchange's line, from 1
  std::vector<RecordedCall> calls;
  std::string note;                         // set when the last line was cut
};

// `indexName` names the file in messages. False with "INDEX line N: reason".
bool readIndexText(std::string_view text, const std::string& indexName, IndexContents& read, std::string& error);

}  // namespace recording
