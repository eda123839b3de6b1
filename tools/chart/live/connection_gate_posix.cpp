#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/chart/live/connection_gate.h"

namespace chart_tool::live {

namespace {

using Clock = ConnectionTable::Clock;

// How often the late are looked for: a small share of the headers' time.
constexpr int kLookEvery_ms = 200;
// Connections cut but not closed yet by the library, beyond the cap, before
// new ones are refused: a flood cannot make the table grow without bound.
constexpr std::size_t kCutNotClosed = 100;
constexpr int kLongestBurst = 64;

// The socket's inode and device: what tells it from a later socket, or
// file, under the same number.
uint64_t identityOf(int fd) {
  struct stat status {};
  if (fstat(fd, &status) != 0) return 0;
  return (static_cast<uint64_t>(status.st_dev) << 40) ^ static_cast<uint64_t>(status.st_ino);
}

std::string systemReason() { return std::strerror(errno); }

}  // namespace

bool ConnectionGate::listen(const support::ListenAddress& address, std::string& error) {
  sockaddr_storage storage{};
  socklen_t length = 0;
  if (!support::socketAddressOf(address, storage, length)) {
    error = "'" + address.ip + "' is not an IP address";
    return false;
  }
  listenFd_ = socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  if (listenFd_ < 0 || setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      (storage.ss_family == AF_INET6 && setsockopt(listenFd_, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) != 0) ||
      bind(listenFd_, reinterpret_cast<const sockaddr*>(&storage), length) != 0 || ::listen(listenFd_, SOMAXCONN) != 0) {
    error = systemReason();
    return false;
  }
  sockaddr_storage bound{};
  socklen_t boundLength = sizeof bound;
  getsockname(listenFd_, reinterpret_cast<sockaddr*>(&bound), &boundLength);
  port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                            : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  int wake[2];
  if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = systemReason();
    return false;
  }
  wakeRead_ = wake[0];
  wakeWrite_ = wake[1];
  return true;
}

void ConnectionGate::start(HandOver handOver, std::function<void()> tick) {
  handOver_ = std::move(handOver);
  tick_ = std::move(tick);
  thread_ = std::thread([this] { run(); });
}

void ConnectionGate::stop() {
  if (thread_.joinable()) {
    const char stopNow = 1;
    [[maybe_unused]] const ssize_t written = write(wakeWrite_, &stopNow, 1);
    thread_.join();
  }
  for (int* fd : {&listenFd_, &wakeRead_, &wakeWrite_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

void ConnectionGate::run() {
  for (;;) {
    pollfd waiting[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    poll(waiting, 2, kLookEvery_ms);
    if (waiting[1].revents != 0) return;
    // A bounded burst, so a flood of connections cannot hold off the watch.
    for (int burst = 0; burst < kLongestBurst && (waiting[0].revents & POLLIN) != 0; ++burst) {
      sockaddr_storage address{};
      socklen_t length = sizeof address;
      const int fd = accept4(listenFd_, reinterpret_cast<sockaddr*>(&address), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd >= 0) {
        admit(fd, address, length);
        continue;
      }
      // Out of descriptors or memory: the waiting connection stays ready, so
      // the next look waits a beat rather than spinning.
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED)
        poll(nullptr, 0, kLookEvery_ms / 4);
      break;
    }
    cutLate();
    if (tick_) tick_();
  }
}

void ConnectionGate::admit(int fd, const sockaddr_storage& address, socklen_t length) {
  {
    std::lock_guard lock(mutex_);
    if (!roomFor()) {
      ++counts_.refused;
      close(fd);
      return;
    }
    table_.add(fd, identityOf(fd), Clock::now());
    ++counts_.accepted;
  }
  // Outside the lock: the library may tell of the connection at once. Only
  // this thread adds to the table, so the entry under `fd` is still this one.
  const bool taken = handOver_(fd, reinterpret_cast<const sockaddr*>(&address), length);
  std::lock_guard lock(mutex_);
  if (taken) {
    table_.handedOver(fd);
  } else {
    table_.remove(fd);  // the library has closed it; it was never cut
  }
}

// At the cap, the connection that has waited longest for its headers makes
// room; when every one is being answered, there is none.
bool ConnectionGate::roomFor() {
  while (table_.open() >= limits_.connections) {
    const std::optional<std::pair<int, uint64_t>> oldest = table_.longestWaiting();
    if (!oldest) return false;
    if (cut(oldest->first, oldest->second)) ++counts_.pushedOut;
  }
  return table_.size() < limits_.connections + kCutNotClosed;
}

void ConnectionGate::cutLate() {
  std::lock_guard lock(mutex_);
  for (const auto& [fd, identity] : table_.late(Clock::now() - limits_.headers))
    if (cut(fd, identity)) ++counts_.late;
}

// Under the lock, so the library cannot have closed the socket since it last
// told; a socket no longer the one let in was closed without a word, and is
// only forgotten.
bool ConnectionGate::cut(int fd, uint64_t identity) {
  if (identityOf(fd) != identity) {
    table_.remove(fd);
    ++counts_.unseen;
    return false;
  }
  shutdown(fd, SHUT_RDWR);
  table_.markCut(fd);
  return true;
}

void ConnectionGate::headersIn(int fd) {
  std::lock_guard lock(mutex_);
  table_.headersIn(fd);
}

void ConnectionGate::answered(int fd) {
  std::lock_guard lock(mutex_);
  table_.answered(fd, Clock::now());
}

// The socket must still be the one let in: were it closed before the
// library told, its number could be another's by now.
void ConnectionGate::closed(int fd) {
  std::lock_guard lock(mutex_);
  const uint64_t identity = table_.identity(fd);
  if (identity != 0 && identityOf(fd) != identity) ++counts_.unseen;
  table_.remove(fd);
}

ConnectionCounts ConnectionGate::counts() const {
  std::lock_guard lock(mutex_);
  ConnectionCounts counts = counts_;
  counts.unseen += table_.unseen;
  counts.open = table_.size();
  return counts;
}

}  // namespace chart_tool::live
