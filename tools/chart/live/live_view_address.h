// Where the live view's page is served: the ADDRESS:PORT of --serve, read
// into the IP address to listen on and the port, and whether only this
// machine can reach it. The page shows the levels and alerts without a
// password, so a loopback address is the default and any other needs the
// user's word (--serve-public).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace chart_tool::live {

struct ServeAddress {
  std::string host;     // as typed: "127.0.0.1", "localhost", "::1" (no brackets)
  std::string ip;       // the IP address to listen on ("localhost" listens on 127.0.0.1)
  bool ipv6 = false;
  uint16_t port = 0;    // 0: a free port the system picks
  bool loopback = false;
};

// "IPv4:PORT", "localhost:PORT" or "[IPv6]:PORT", with a port from 0 to
// 65535; nothing for any other text. Only 127.0.0.0/8, ::1 and localhost
// count as loopback; every other address, the unspecified ones (0.0.0.0,
// [::]) among them, reaches beyond this machine.
std::optional<ServeAddress> readServeAddress(const std::string& text);

// "HOST:PORT" ("[::1]:PORT") for the address with a port.
std::string hostAndPort(const ServeAddress& address, uint16_t port);

// "http://HOST:PORT/" for the address with the port it listens on.
std::string pageUrl(const ServeAddress& address, uint16_t port);

// The live view's page of a run (--serve, --serve-public).
struct LivePageSettings {
  std::optional<ServeAddress> serve;  // empty: no page
  bool servePublic = false;           // beyond this machine
};

}  // namespace chart_tool::live
