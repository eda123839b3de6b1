// The connections the live view's server holds, by socket, with when each
// began waiting for a request's headers (its start, or the end of its last
// answer) and whether they are in. From it the server learns which to cut:
// those whose headers are late, and at the cap the one that has waited
// longest. A socket number can be reused once closed, so each entry keeps
// the socket's identity (its inode) to tell its own socket from a later
// one. Not thread-safe: the server keeps it under one lock.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace chart_tool::live {

struct ConnectionLimits {
  std::size_t connections = 400;
  std::chrono::milliseconds headers{3000};
  // Pages' /events streams open at once, within `connections`, and how long
  // a stream may be quiet before a keep-alive is sent on it.
  std::size_t eventStreams = 32;
  std::chrono::milliseconds keepAlive{5000};
};

// What became of the connections so far, for a person's diagnosis and tests.
struct ConnectionCounts {
  uint64_t accepted = 0;
  uint64_t late = 0;       // cut: their headers were late
  uint64_t pushedOut = 0;  // cut at the cap for a newer one
  uint64_t refused = 0;    // closed at once: the cap was full of requests being answered
  uint64_t unseen = 0;     // closed by the library before it told (never expected)
  std::size_t open = 0;
};

class ConnectionTable {
 public:
  using Clock = std::chrono::steady_clock;

  struct Entry {
    uint64_t identity = 0;         // the socket's inode and device
    Clock::time_point waitingSince;
    bool headersIn = false;        // a request is being answered
    bool cut = false;              // shut down; the library has yet to close it
    bool handedOver = false;       // the library has it (before that, it is never cut)
  };

  // A new connection; an entry left under the same socket number was closed
  // without notice, and is replaced (counted as `unseen`).
  void add(int fd, uint64_t identity, Clock::time_point now);
  void handedOver(int fd);
  // A request's headers are in / its answer has ended.
  void headersIn(int fd);
  void answered(int fd, Clock::time_point now);
  void remove(int fd);
  // The identity the socket under `fd` had when let in; 0 when none is held.
  uint64_t identity(int fd) const;

  // Connections not cut yet.
  std::size_t open() const;
  std::size_t size() const { return entries_.size(); }
  // Handed over, not cut, waiting for headers since before `deadline`.
  std::vector<std::pair<int, uint64_t>> late(Clock::time_point deadline) const;
  // The one handed over, not cut, that has waited for its headers longest.
  std::optional<std::pair<int, uint64_t>> longestWaiting() const;
  void markCut(int fd);

  uint64_t unseen = 0;  // entries closed by the library without a notice

 private:
  std::map<int, Entry> entries_;
};

}  // namespace chart_tool::live
