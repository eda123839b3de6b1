#include "tools/chart/live_view_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <cstdarg>
#include <cstdio>

#include "tools/chart/live_view_routes.h"

namespace chart_tool {

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
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == '.')) line.pop_back();
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
  sockaddr_storage socketAddress{};
  unsigned int flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO | MHD_USE_ERROR_LOG;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&socketAddress);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&socketAddress);
  const std::string where = "--serve " + hostAndPort(address, address.port);
  if (!address.ipv6 && inet_pton(AF_INET, address.ip.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(address.port);
  } else if (address.ipv6 && inet_pton(AF_INET6, address.ip.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(address.port);
    flags |= MHD_USE_IPv6;
  } else {
    error = where + ": '" + address.host + "' is not an IP address";
    return nullptr;
  }
  server->daemon_ = MHD_start_daemon(
      flags, address.port, nullptr, nullptr, &LiveViewCallbacks::onRequest, server.get(),
      MHD_OPTION_EXTERNAL_LOGGER, &LiveViewCallbacks::onComplaint, server.get(),
      MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&socketAddress),
      MHD_OPTION_CONNECTION_LIMIT, kConnectionLimit,
      MHD_OPTION_CONNECTION_TIMEOUT, kIdleTimeout_s,
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory_bytes,
      MHD_OPTION_END);
  std::lock_guard lock(server->complaintMutex_);
  server->started_ = true;
  if (server->daemon_ == nullptr) {
    error = where + ": cannot serve the page there (" +
            (server->startComplaint_.empty() ? "the address cannot be listened on" : server->startComplaint_) + ")";
    return nullptr;
  }
  const MHD_DaemonInfo* info = MHD_get_daemon_info(server->daemon_, MHD_DAEMON_INFO_BIND_PORT);
  server->port_ = info != nullptr ? info->port : address.port;
  return server;
}

LiveViewServer::~LiveViewServer() {
  if (daemon_ != nullptr) MHD_stop_daemon(daemon_);
}

}  // namespace chart_tool
