// The live view's web server: answers the page, /status.json and /chart.png
// (see live_view_routes.h) from the board's latest snapshot, on the address
// of --serve, until it is destroyed. One thread of its own waits on every
// connection at once, so idle connections cost no thread; a connection idle
// for 10 seconds is closed, at most a few hundred are kept, and a request's
// headers are bounded. Destroying the server closes every connection and
// returns promptly, whatever the clients do. One file per platform: the
// Windows build has no server and refuses --serve.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "tools/chart/live/live_view_address.h"
#include "tools/chart/live/live_view_board.h"

namespace support {
class HttpDaemon;
}

namespace chart_tool::live {

// Why this build cannot serve the live view, or empty when it can.
std::string liveViewUnavailableReason();

class LiveViewServer {
 public:
  // Serves the board at the address; `anyHost` answers requests whatever
  // name they were sent to (a public address). Null with a one-line reason
  // when the address cannot be listened on (a port in use, an address not
  // this machine's). The board must outlive the server.
  static std::unique_ptr<LiveViewServer> start(const ServeAddress& address, bool anyHost, const LiveBoard& board,
                                               std::string& error);
  ~LiveViewServer();
  LiveViewServer(const LiveViewServer&) = delete;
  LiveViewServer& operator=(const LiveViewServer&) = delete;

  // The port listened on (the one the system picked for port 0).
  uint16_t port() const;

 private:
  friend struct LiveViewCallbacks;  // the server library's callbacks, in the platform's file
  LiveViewServer(const LiveBoard& board, bool anyHost) : board_(board), anyHost_(anyHost) {}

  // Stops the server library's daemon, in the platform's file.
  struct DaemonStop {
    void operator()(support::HttpDaemon* daemon) const;
  };

  const LiveBoard& board_;
  const bool anyHost_;
  std::unique_ptr<support::HttpDaemon, DaemonStop> daemon_;
  // The server library's complaints while it starts, for the reason it could not.
  std::mutex complaintMutex_;
  std::string startComplaint_;
  bool started_ = false;
};

}  // namespace chart_tool::live
