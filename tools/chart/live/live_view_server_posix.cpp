#include <cstdarg>

#include "tools/chart/live/live_view_routes.h"
#include "tools/chart/live/live_view_server.h"
#include "tools/support/http_daemon.h"

namespace chart_tool::live {

namespace {

// Enough for a browser's request headers, far below what would let a client
// make the program hold much memory.
constexpr size_t kConnectionMemory_bytes = 32 * 1024;
constexpr unsigned kConnectionLimit = 400;
constexpr unsigned kIdleTimeout_s = 10;

const char* headerValue(MHD_Connection* connection, const char* name) {
  const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
  return value != nullptr ? value : "";
}

}  // namespace

struct LiveViewCallbacks {
  static void onComplaint(void* cls, const char* format, va_list arguments) {
    auto* server = static_cast<LiveViewServer*>(cls);
    std::string line = support::libraryComplaintLine(format, arguments);
    while (!line.empty() && line.back() == '.') line.pop_back();
    std::lock_guard lock(server->complaintMutex_);
    if (!server->started_) server->startComplaint_ = line;
  }

  // Every request is answered on its first call, once its headers are in;
  // a body is never read (nothing the server answers takes one), and the
  // connection of a request that sent one is closed after the answer.
  static MHD_Result onRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                              const char*, const char*, size_t*, void**) {
    const auto* server = static_cast<const LiveViewServer*>(cls);
    const LiveRequest request{method != nullptr ? method : "", url != nullptr ? url : "",
                              headerValue(connection, MHD_HTTP_HEADER_HOST)};
    const LiveReply reply = answerLiveRequest(request, *server->board_.current(), server->anyHost_);
    MHD_Response* response = MHD_create_response_from_buffer(
        reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
    for (const auto& [name, value] : reply.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
    const MHD_Result queued = MHD_queue_response(connection, reply.status, response);
    MHD_destroy_response(response);
    return queued;
  }
};

std::string liveViewUnavailableReason() { return {}; }

std::unique_ptr<LiveViewServer> LiveViewServer::start(const ServeAddress& address, bool anyHost,
                                                      const LiveBoard& board, std::string& error) {
  std::unique_ptr<LiveViewServer> server(new LiveViewServer(board, anyHost));
  const std::string where = "--serve " + hostAndPort(address, address.port);
  if (!support::HttpDaemon::isIpAddress(address.ip)) {
    error = where + ": '" + address.host + "' is not an IP address";
    return nullptr;
  }
  server->daemon_.reset(new support::HttpDaemon);
  const bool listening = server->daemon_->start(
      support::ListenAddress{address.ip, address.port},
      MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO | MHD_USE_ERROR_LOG, &LiveViewCallbacks::onRequest,
      server.get(),
      {{MHD_OPTION_EXTERNAL_LOGGER, reinterpret_cast<intptr_t>(&LiveViewCallbacks::onComplaint), server.get()},
       {MHD_OPTION_CONNECTION_LIMIT, kConnectionLimit, nullptr},
       {MHD_OPTION_CONNECTION_TIMEOUT, kIdleTimeout_s, nullptr},
       {MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory_bytes, nullptr}});
  std::lock_guard lock(server->complaintMutex_);
  server->started_ = true;
  if (!listening) {
    error = where + ": cannot serve the page there (" +
            (server->startComplaint_.empty() ? "the address cannot be listened on" : server->startComplaint_) + ")";
    return nullptr;
  }
  return server;
}

// The server's threads may still complain or answer until it has stopped.
LiveViewServer::~LiveViewServer() { daemon_.reset(); }

void LiveViewServer::DaemonStop::operator()(support::HttpDaemon* daemon) const { delete daemon; }

uint16_t LiveViewServer::port() const { return daemon_->port(); }

}  // namespace chart_tool::live
