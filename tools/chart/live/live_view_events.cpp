#include "tools/chart/live/live_view_events.h"

#include "tools/support/json_text.h"

namespace chart_tool::live {

namespace {

// How long a browser waits before it connects again after the stream ends.
constexpr const char* kReconnectAfter = "retry: 1000\n\n";

}  // namespace

std::string EventFeed::next(const ChartSnapshots& snapshots) {
  std::string text = started_ ? "" : kReconnectAfter;
  for (std::size_t chart = 0; chart < charts_.size() && chart < snapshots.size(); ++chart) {
    const LiveSnapshot& snapshot = *snapshots[chart];
    Seen& seen = seen_[chart];
    if (started_ && snapshot.publications == seen.publications) continue;
    text += "data: {\"chart\":" + support::jsonString(charts_[chart]) + ",\"index\":" + std::to_string(chart) +
            ",\"publications\":" + std::to_string(snapshot.publications) +
            ",\"pictures\":" + std::to_string(snapshot.pictures) +
            ",\"pictureChanged\":" + (snapshot.pictures != seen.pictures ? "true" : "false") +
            ",\"failed\":" + (snapshot.failed.empty() ? "false" : "true") + "}\n\n";
    seen = Seen{snapshot.publications, snapshot.pictures};
  }
  started_ = true;
  return text;
}

}  // namespace chart_tool::live
