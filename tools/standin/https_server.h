// The HTTPS server: libmicrohttpd with TLS, one thread per connection, so a
// delayed answer holds up only its own connection. It collects each request
// (target as received, headers in order, body up to a cap), asks the
// handler for the Reply and delivers it, including the faults that cut a
// body short or answer late. stop() wakes delayed answers and closes all
// connections. The handler is called on connection threads, concurrently.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "tools/standin/request_record.h"
#include "tools/standin/request_router.h"
#include "tools/standin/tls_identity.h"
#include "tools/support/http_daemon.h"

namespace standin {

inline constexpr size_t kMaxRequestBodyBytes = 1024 * 1024;

struct ServerConfig {
  std::string address = "127.0.0.1";  // IPv4 or IPv6 text
  uint16_t port = 0;                  // 0: any free port
  TlsIdentity identity;
};

using RequestHandler = std::function<Reply(const ReceivedRequest&)>;

class HttpsServer {
 public:
  // Starts listening. Returns null and sets `problem` when it cannot.
  static std::unique_ptr<HttpsServer> start(const ServerConfig& config, RequestHandler handler,
                                            std::string& problem);
  ~HttpsServer();
  HttpsServer(const HttpsServer&) = delete;
  HttpsServer& operator=(const HttpsServer&) = delete;

  uint16_t port() const { return daemon_.port(); }
  void stop();

 private:
  friend struct ServerCallbacks;  // libmicrohttpd's callbacks, in the source file
  explicit HttpsServer(RequestHandler handler) : handler_(std::move(handler)) {}

  // Waits `seconds` unless the server stops first; true when it stopped.
  bool waitOrStop(double seconds);

  RequestHandler handler_;
  support::HttpDaemon daemon_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  TlsIdentity identity_;  // libmicrohttpd keeps pointers into these texts
};

}  // namespace standin
