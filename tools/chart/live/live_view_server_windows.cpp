#include "tools/chart/live/live_view_server.h"

namespace chart_tool::live {

struct LiveViewServer::Running {};

std::string liveViewUnavailableReason() {
  return "the live view needs libmicrohttpd, which the Windows build has not; use the Linux build for --serve";
}

std::unique_ptr<LiveViewServer> LiveViewServer::start(const ServeAddress&, ServedNames, std::vector<ServedChart>,
                                                      std::string& error, ConnectionLimits) {
  error = "--serve: " + liveViewUnavailableReason();
  return nullptr;
}

std::unique_ptr<LiveViewServer> LiveViewServer::start(const ServeAddress& address, ServedNames names, LiveBoard& board,
                                                      std::string& error, ConnectionLimits limits) {
  return start(address, std::move(names), {ServedChart{"", &board}}, error, limits);
}

LiveViewServer::~LiveViewServer() = default;

uint16_t LiveViewServer::port() const { return 0; }

ConnectionCounts LiveViewServer::connectionCounts() const { return {}; }

std::size_t LiveViewServer::eventStreams() const { return 0; }

}  // namespace chart_tool::live
