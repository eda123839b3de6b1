// The chart host's real transport on Windows: HTTPS through WinHTTP. Transfers
// run one after another on the transport's one worker thread, so start() never
// waits on the network. start() may be called from any thread; completions are
// called on the worker thread. A completion must not destroy the transport.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "host/http_transport.h"

namespace chart_host {

struct WinHttpTransportOptions {
  // Bounds of every transfer; a value below 1 takes the default, since 0
  // would leave a step unbounded.
  int connectTimeoutMs = 5000;   // name resolution, and connecting
  int receiveTimeoutMs = 15000;  // sending, and each wait for data
  // Where to connect in place of a URL's host and port: "NAME:PORT", e.g.
  // "localhost:8443". The server's certificate must be made out to NAME and
  // trusted by the system. Empty: the URL's own.
  std::string connectTo;
  std::string userAgent;  // empty: none besides a request's own header
  std::size_t maxBodyBytes = 64u * 1024u * 1024u;  // a longer body fails the transfer
};

class WinHttpTransport : public HttpTransport {
 public:
  explicit WinHttpTransport(WinHttpTransportOptions options = {});
  // Completes every transfer not yet begun as failed, lets the one under way
  // end within its timeouts, then stops the worker.
  ~WinHttpTransport() override;
  WinHttpTransport(const WinHttpTransport&) = delete;
  WinHttpTransport& operator=(const WinHttpTransport&) = delete;

  // Only "https" URLs are fetched; certificate checks are always on. Refuses
  // (false) only while shutting down or when WinHTTP could not be opened. A
  // request that cannot be sent as given (not https, a header that would
  // break its line) is accepted and completed as failed.
  bool start(const HttpRequest& request, Completion done) override;

 private:
  struct Worker;
  std::unique_ptr<Worker> worker_;
};

}  // namespace chart_host
