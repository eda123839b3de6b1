// Replay mode: recorded answer bodies served instead of computed ones, per
// endpoint. A file is served for every request; a directory's regular files
// are served one per request in name order, the last one repeated. Bodies
// are loaded when the book is filled and served byte for byte. next() is
// thread-safe. Or a recording of a chart run answers every endpoint by its
// recorded times (see recording_replay.h).
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tools/standin/endpoint.h"
#include "tools/standin/recording_replay.h"

namespace standin {

class ReplayBook {
 public:
  // Loads `path` (a file or a directory) as the bodies of `endpoint`.
  // Returns an empty text, or one line saying why the path is unusable
  // (missing, unreadable, a directory without regular files).
  std::string load(Endpoint endpoint, const std::string& path);

  bool has(Endpoint endpoint) const { return !slots_[index(endpoint)].bodies.empty(); }

  // The body for the next request at `endpoint`; none when it has no replay.
  std::optional<std::string> next(Endpoint endpoint);

  // A recording that answers every endpoint instead; set before serving.
  void useRecording(std::unique_ptr<const RecordingReplay> recording) { recording_ = std::move(recording); }
  const RecordingReplay* recording() const { return recording_.get(); }

 private:
  struct Slot {
    std::vector<std::string> bodies;
    size_t served = 0;
  };
  static size_t index(Endpoint endpoint) { return static_cast<size_t>(endpoint); }

  std::mutex mutex_;
  std::array<Slot, 3> slots_;
  std::unique_ptr<const RecordingReplay> recording_;
};

}  // namespace standin
