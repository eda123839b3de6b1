// The run's one live page over its charts (--serve): a board for each chart,
// fed by that chart's LiveOutputs on the chart's own thread, and the server
// that shows them. A run of one chart without a board file serves its
// single chart's page (/, /status.json, /chart.png); a board's page shows
// the named charts side by side (/, /status.json with every chart,
// /chart/NAME.png). Either way /events tells the page of every change.
// Thread-safe as its boards are; start and destruction on the run's thread.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "tools/chart/live/live_view_address.h"
#include "tools/chart/live/live_view_board.h"
#include "tools/chart/live/live_view_server.h"

namespace chart_tool::live {

class LiveView {
 public:
  // Serves the charts named, in board order. A run of a single chart without
  // a board passes one empty name and keeps the single chart's page and
  // addresses. Null with the one-line reason when it cannot serve (no
  // address to serve at, a port in use, an address not this machine's).
  static std::unique_ptr<LiveView> start(const LivePageSettings& page, const std::vector<std::string>& chartNames,
                                         std::string& error, ConnectionLimits limits = {});
  ~LiveView();
  LiveView(const LiveView&) = delete;
  LiveView& operator=(const LiveView&) = delete;

  // The page's address, as the run tells it: http://127.0.0.1:PORT/.
  std::string url() const;
  // Chart `chart`'s board, in the order named; it lives as long as the view.
  LiveBoard& board(std::size_t chart);
  std::size_t charts() const { return boards_.size(); }
  const LiveViewServer& server() const { return *server_; }

 private:
  LiveView() = default;

  ServeAddress address_;
  std::deque<LiveBoard> boards_;  // a deque: boards never move
  std::unique_ptr<LiveViewServer> server_;
};

}  // namespace chart_tool::live
