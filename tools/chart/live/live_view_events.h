// What one page's stream of server-sent events (/events) says: an event for
// each chart whose status or picture was published since the stream last
// looked, naming the chart and saying whether its picture changed, so the
// page fetches the new status and picture at once instead of asking every
// second. A stream that falls behind gets one event per chart for all it
// missed, never a queue. The first look gives every chart, so a page that
// connects again learns where each stands. Not thread-safe: one per stream,
// kept under its server's lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/chart/live/live_view_routes.h"

namespace chart_tool::live {

class EventFeed {
 public:
  explicit EventFeed(ChartNames charts) : charts_(std::move(charts)), seen_(charts_.size()) {}

  // The events' text for what changed since the last call; empty when
  // nothing did. Each event's data is one JSON object:
  //   {"chart":"ES","index":0,"publications":41,"pictures":7,"pictureChanged":true,"failed":false}
  std::string next(const ChartSnapshots& snapshots);

  // A comment line the page ignores, sent when the stream has been quiet a
  // while, so the connection is not closed as idle.
  static const char* keepAlive() { return ": keep-alive\n\n"; }

 private:
  struct Seen {
    uint64_t publications = 0;
    uint64_t pictures = 0;
  };

  const ChartNames charts_;
  std::vector<Seen> seen_;
  bool started_ = false;
};

}  // namespace chart_tool::live
