#include "tools/recording/recording_bounds.h"

#include <algorithm>

namespace recording {

namespace {

// The calls from the first call to the last at the header's step, one when the
// last comes first. Both times lie within years 0001 to 9999 (the index's
// times can say no other), so their difference fits.
int64_t callsOf(const RecordingHeader& header) {
  return std::max<int64_t>(header.lastCall - header.firstCall, 0) / header.stepMicroseconds + 1;
}

}  // namespace

std::string headerRefusal(const RecordingHeader& header) {
  if (header.stepMicroseconds < kShortestStep_us)
    return "a step of " + std::to_string(header.stepMicroseconds) + " microseconds, shorter than the " +
           std::to_string(kShortestStep_us) + " (one second) a run takes at least";
  const int64_t calls = callsOf(header);
  if (calls > kMostRecordedCalls)
    return "a span of " + std::to_string(calls) + " calls at its step, more than the " +
           std::to_string(kMostRecordedCalls) + " a recording may hold";
  return {};
}

}  // namespace recording
