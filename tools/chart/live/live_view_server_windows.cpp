#include "tools/chart/live/live_view_server.h"

namespace chart_tool::live {

std::string liveViewUnavailableReason() {
  return "the live view needs libmicrohttpd, which the Windows build has not; use the Linux build for --serve";
}

std::unique_ptr<LiveViewServer> LiveViewServer::start(const ServeAddress&, bool, const LiveBoard&,
                                                      std::string& error) {
  error = "--serve: " + liveViewUnavailableReason();
  return nullptr;
}

LiveViewServer::~LiveViewServer() = default;

// Never started here, so never stopped.
void LiveViewServer::DaemonStop::operator()(support::HttpDaemon*) const {}

uint16_t LiveViewServer::port() const { return 0; }

}  // namespace chart_tool::live
