// What the programs' web servers (the live view's, the stand-in's) share of
// the HTTP server library: listening on an IP address given as text,
// learning the port the system picked, stopping, and the library's
// complaints as one line. Each server keeps its own limits, threading, TLS
// and request handling, passed in as the library's flags and options. The
// build machine's only: the Windows build has none of it.
#pragma once

#include <microhttpd.h>

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

namespace support {

// An IPv4 or IPv6 address in text ("127.0.0.1", "::1") with a port (0: any
// free one), as the library listens on it.
struct ListenAddress {
  std::string ip;
  uint16_t port = 0;
};

// A running server of the library; destroying it (or stop) closes every
// connection and returns once the library's threads have ended.
class HttpDaemon {
 public:
  HttpDaemon() = default;
  ~HttpDaemon() { stop(); }
  HttpDaemon(const HttpDaemon&) = delete;
  HttpDaemon& operator=(const HttpDaemon&) = delete;

  // Whether the address's text is an IP address this can listen on.
  static bool isIpAddress(const std::string& ip);

  // Listens at `address` with the server's own `flags` and `options` (ended
  // or not by MHD_OPTION_END); the address and its family are added here.
  // `onRequest` gets `context`. False when the library cannot listen there
  // (the address is not an IP address, the port is in use, TLS cannot be set
  // up); the library's own complaint goes to the server's logger.
  bool start(const ListenAddress& address, unsigned int flags, MHD_AccessHandlerCallback onRequest, void* context,
             std::vector<MHD_OptionItem> options);

  // Starts without a listening socket: the server accepts connections itself
  // and hands each over with addConnection. `flags` must let the library be
  // woken for a connection added from another thread (MHD_USE_ITC).
  bool startUnlistened(unsigned int flags, MHD_AccessHandlerCallback onRequest, void* context,
                       std::vector<MHD_OptionItem> options);
  // Hands an accepted connection to the library, which owns it from then on
  // and closes it, whatever the result; false when it would not take it.
  bool addConnection(int fd, const sockaddr* address, socklen_t length);

  void stop();
  bool running() const { return daemon_ != nullptr; }
  // The port listened on (the one the system picked for port 0).
  uint16_t port() const { return port_; }

 private:
  MHD_Daemon* daemon_ = nullptr;
  uint16_t port_ = 0;
};

// The address as the system's socket address; false when the text is not an
// IP address.
bool socketAddressOf(const ListenAddress& address, sockaddr_storage& storage, socklen_t& length);

// The library's complaint (a printf format and its arguments) as one line,
// without its line end.
std::string libraryComplaintLine(const char* format, va_list arguments);

}  // namespace support
