// The live view's own door: it listens on the --serve address, accepts each
// connection and hands it to the server library, and watches every
// connection it let in. A request's headers must be in within a few seconds
// of the connection's start (or of the end of the answer before), however
// the bytes trickle in meanwhile. At the cap, a new connection pushes out
// the one that has waited longest for its headers: all may come from this
// machine, so a limit per address would not help. A connection is cut by
// shutting its socket down, never by closing it: the library owns the socket
// and closes it, and tells `closed` first, under the gate's lock, so a
// socket number used again after is never cut by mistake.
//
// One thread of its own, which also calls `tick` a few times a second; stop
// ends it promptly. The Linux build's only (its server's).
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "tools/chart/live/connection_table.h"
#include "tools/support/http_daemon.h"

namespace chart_tool::live {

class ConnectionGate {
 public:
  using HandOver = std::function<bool(int fd, const sockaddr* address, socklen_t length)>;

  explicit ConnectionGate(ConnectionLimits limits) : limits_(limits) {}
  ~ConnectionGate() { stop(); }
  ConnectionGate(const ConnectionGate&) = delete;
  ConnectionGate& operator=(const ConnectionGate&) = delete;

  // Listens at the address; false with the system's reason.
  bool listen(const support::ListenAddress& address, std::string& error);
  uint16_t port() const { return port_; }
  // Starts accepting: each connection goes to `handOver`, which owns it from then on.
  void start(HandOver handOver, std::function<void()> tick);
  void stop();

  // From the library's callbacks, by socket: a request's headers are in, its
  // answer has ended, the library is about to close the socket.
  void headersIn(int fd);
  void answered(int fd);
  void closed(int fd);

  ConnectionCounts counts() const;

 private:
  void run();
  void admit(int fd, const sockaddr_storage& address, socklen_t length);
  bool roomFor();
  void cutLate();
  bool cut(int fd, uint64_t identity);

  const ConnectionLimits limits_;
  int listenFd_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  uint16_t port_ = 0;
  HandOver handOver_;
  std::function<void()> tick_;
  std::thread thread_;
  mutable std::mutex mutex_;
  ConnectionTable table_;
  ConnectionCounts counts_;
};

}  // namespace chart_tool::live
