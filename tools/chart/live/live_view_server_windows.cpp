#include "tools/chart/live/live_view_server.h"

namespace chart_tool::live {

struct LiveViewServer::Running {};

std::string liveViewUnavailableReason() {
  return "the live view needs libmicrohttpd, which the Windows build has not; use the Linux build for --serve";
}

std::unique_ptr<LiveViewServer> LiveViewServer::start(const ServeAddress&, ServedNames, LiveBoard&,
                                                      std::string& error, ConnectionLimits) {
  error = "--serve: " + liveViewUnavailableReason();
  return nullptr;
}

LiveViewServer::~LiveViewServer() = default;

uint16_t LiveViewServer::port() const { return 0; }

ConnectionCounts LiveViewServer::connectionCounts() const { return {}; }

}  // namespace chart_tool::live
