// Writes a recording folder as a chart run goes (see recorded_exchange.h for
// its layout). Every file is written so that a run killed at any moment
// leaves a recording that reads back up to its last whole exchange: a body is
// written whole under its own name before the index line that names it is
// appended, the index grows by whole lines, and the bars are on the disk
// before the index begins. Not thread-safe: one caller at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/recording/recorded_exchange.h"
#include "tools/recording/recording_files.h"
#include "tools/support/bar_csv.h"

namespace recording {

class RecordingWriter {
 public:
  // Makes `folder` (with bodies/), writes the bars, then the header line. A
  // folder that holds anything at all is refused, so a recording is never
  // mixed with another; an empty one is used. A header the reader would
  // refuse (recording_bounds.h) is refused first. False with one line.
  bool open(const std::string& folder, const RecordingHeader& header, const std::vector<support::PriceBar>& bars,
            std::string& error);

  // Writes the exchange's body, then its index line. Its number must be the
  // next one (1 first); bodyFile is named by the writer. False with one line;
  // nothing of the exchange is in the index then.
  bool append(const RecordedExchange& exchange, std::string& error);

  // Appends a call's line; calls are numbered 1, 2, ... in order. False with
  // one line; the call is not in the index then.
  bool appendCall(const RecordedCall& call, std::string& error);

  int64_t exchangesWritten() const { return written_; }
  const std::string& folder() const { return folder_; }

 private:
  // bars.csv, the bars when the run began.
  bool writeBars(const std::vector<support::PriceBar>& bars, std::string& error);

  std::string folder_;
  AppendedFile index_;
  int64_t written_ = 0;
  int64_t callsWritten_ = 0;
};

}  // namespace recording
