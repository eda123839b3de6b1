// The stand-in answering from a recording of a chart run (--replay DIR): a
// clock of the recording's own times starts when the stand-in starts (at the
// recording's first request, or a chosen time of that day) and runs at the
// real pace or a chosen multiple of it; each request gets the answer of its
// route (the target's path) that was current at that clock time (see
// replay_timeline.h). Built once, then only read: thread-safe.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/recording/replay_timeline.h"

namespace standin {

// What the recording holds for one request.
struct RecordedAnswer {
  enum class Kind {
    Delivered,    // the service answered: `status` and `body`
    Failed,       // the transfer failed: no answer is given
    NotRecorded,  // the recording has no answer of this route by then
  };
  Kind kind = Kind::NotRecorded;
  unsigned status = 0;
  std::string body;
};

// How the replay's clock runs.
struct RecordingClock {
  std::optional<int64_t> from_s_of_day;  // the clock's start, seconds after midnight; none: the first request
  double speed = 1;                      // recording seconds per real second
};

class RecordingReplay {
 public:
  // The clock starts at `started`.
  RecordingReplay(recording::ReplayTimeline timeline, const RecordingClock& clock,
                  std::chrono::steady_clock::time_point started);

  // The recording's time now.
  HostDateTime now() const;
  HostDateTime startedAt() const { return start_; }

  // The answer for a request to `target` ("/path?query", as received) at the
  // recording's time `time`.
  RecordedAnswer answerAt(const std::string& target, HostDateTime time) const;

 private:
  recording::ReplayTimeline timeline_;
  HostDateTime start_ = 0;
  double speed_ = 1;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace standin
