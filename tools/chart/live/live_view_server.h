// The live view's web server: answers the page, /status.json and the
// pictures (see live_view_routes.h) from the charts' boards' latest
// snapshots, and keeps the pages' /events streams (event_streams.h), on the
// address of --serve, until it is destroyed. One thread of its own waits on every
// connection at once, so idle connections cost no thread, and another
// accepts them and watches them (connection_gate.h): a request's headers are
// bounded in size and must be in within a few seconds, at the cap the
// connection that has waited longest for its headers makes room, and an
// answered connection idle for 10 seconds is closed. A request for a picture
// at a size not drawn yet waits for the run's thread to draw it, up to 2
// seconds, without holding up the others; then the nearest size drawn is
// sent. An events stream counts as a request being answered for as long as
// it is open, never as an idle connection; at most 32 are open at once.
// Destroying the server ends every stream, closes every connection and returns promptly,
// whatever the clients do. One file per platform: the Windows build has no
// server and refuses --serve.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/chart/live/connection_table.h"
#include "tools/chart/live/live_view_address.h"
#include "tools/chart/live/live_view_board.h"
#include "tools/chart/live/live_view_routes.h"

namespace chart_tool::live {

// Why this build cannot serve the live view, or empty when it can.
std::string liveViewUnavailableReason();

// One chart the server shows: its name (empty for a single chart's page)
// and its board.
struct ServedChart {
  std::string name;
  LiveBoard* board = nullptr;
};

class LiveViewServer {
 public:
  // Serves the charts at the address, answering requests sent to `names`.
  // Null with a one-line reason when the address cannot be listened on (a
  // port in use, an address not this machine's). The boards must outlive
  // the server; the server tells them when it wants pictures drawn, and
  // they tell it of each publication.
  static std::unique_ptr<LiveViewServer> start(const ServeAddress& address, ServedNames names,
                                               std::vector<ServedChart> charts, std::string& error,
                                               ConnectionLimits limits = {});
  // A single chart's page.
  static std::unique_ptr<LiveViewServer> start(const ServeAddress& address, ServedNames names, LiveBoard& board,
                                               std::string& error, ConnectionLimits limits = {});
  ~LiveViewServer();
  LiveViewServer(const LiveViewServer&) = delete;
  LiveViewServer& operator=(const LiveViewServer&) = delete;

  // The port listened on (the one the system picked for port 0).
  uint16_t port() const;
  ConnectionCounts connectionCounts() const;
  std::size_t eventStreams() const;

 private:
  struct Running;  // the platform's part
  friend struct LiveViewCallbacks;  // the server library's callbacks, in the platform's file
  LiveViewServer() = default;

  std::unique_ptr<Running> running_;
};

}  // namespace chart_tool::live
