#include "tools/support/http_daemon.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdio>
#include <optional>

namespace support {

namespace {

struct SocketAddress {
  sockaddr_storage storage{};
  bool ipv6 = false;
};

std::optional<SocketAddress> socketAddressOf(const ListenAddress& address) {
  SocketAddress socket;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&socket.storage);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&socket.storage);
  if (inet_pton(AF_INET, address.ip.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(address.port);
    return socket;
  }
  if (inet_pton(AF_INET6, address.ip.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(address.port);
    socket.ipv6 = true;
    return socket;
  }
  return std::nullopt;
}

}  // namespace

bool socketAddressOf(const ListenAddress& address, sockaddr_storage& storage, socklen_t& length) {
  const std::optional<SocketAddress> socket = socketAddressOf(address);
  if (!socket) return false;
  storage = socket->storage;
  length = socket->ipv6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
  return true;
}

bool HttpDaemon::isIpAddress(const std::string& ip) { return socketAddressOf(ListenAddress{ip, 0}).has_value(); }

bool HttpDaemon::start(const ListenAddress& address, unsigned int flags, MHD_AccessHandlerCallback onRequest,
                       void* context, std::vector<MHD_OptionItem> options) {
  stop();
  std::optional<SocketAddress> socket = socketAddressOf(address);
  if (!socket) return false;
  if (socket->ipv6) flags |= MHD_USE_IPv6;
  if (options.empty() || options.back().option != MHD_OPTION_END) options.push_back({MHD_OPTION_END, 0, nullptr});
  daemon_ = MHD_start_daemon(flags, address.port, nullptr, nullptr, onRequest, context, MHD_OPTION_SOCK_ADDR,
                             reinterpret_cast<sockaddr*>(&socket->storage), MHD_OPTION_ARRAY, options.data(),
                             MHD_OPTION_END);
  if (daemon_ == nullptr) return false;
  const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
  port_ = info != nullptr ? info->port : address.port;
  return true;
}

bool HttpDaemon::startUnlistened(unsigned int flags, MHD_AccessHandlerCallback onRequest, void* context,
                                 std::vector<MHD_OptionItem> options) {
  stop();
  if (options.empty() || options.back().option != MHD_OPTION_END) options.push_back({MHD_OPTION_END, 0, nullptr});
  daemon_ = MHD_start_daemon(flags | MHD_USE_NO_LISTEN_SOCKET, 0, nullptr, nullptr, onRequest, context,
                             MHD_OPTION_ARRAY, options.data(), MHD_OPTION_END);
  port_ = 0;
  return daemon_ != nullptr;
}

bool HttpDaemon::addConnection(int fd, const sockaddr* address, socklen_t length) {
  return daemon_ != nullptr && MHD_add_connection(daemon_, fd, address, length) == MHD_YES;
}

void HttpDaemon::stop() {
  if (daemon_ == nullptr) return;
  MHD_stop_daemon(daemon_);
  daemon_ = nullptr;
}

std::string libraryComplaintLine(const char* format, va_list arguments) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, arguments);
  std::string line(text);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace support
