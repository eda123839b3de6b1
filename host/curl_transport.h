// The chart host's real transport: HTTPS through libcurl. Every transfer runs
// on the transport's one worker thread, many at a time, so start() never waits
// on the network. start() may be called from any thread; completions are
// called on the worker thread, or inside start() for a request that cannot be
// sent. A completion must not destroy the transport.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/http_transport.h"

namespace chart_host {

struct CurlTransportOptions {
  // Bounds of every transfer; a value below 1 takes the default, since 0
  // would leave a transfer unbounded.
  long connectTimeoutMs = 5000;
  long totalTimeoutMs = 15000;
  std::string caFile;  // certificates to trust; empty: the system's trust store
  // Where to connect in place of a URL's host: "HOST:PORT:ADDRESS:PORT",
  // e.g. "levels.example:443:127.0.0.1:8443". Names and certificates stay
  // those of the URL.
  std::vector<std::string> connectTo;
  std::string userAgent;  // empty: none besides a request's own header
  std::size_t maxBodyBytes = 64u * 1024u * 1024u;  // a longer body fails the transfer
};

class CurlTransport : public HttpTransport {
 public:
  explicit CurlTransport(CurlTransportOptions options = {});
  // Completes every transfer still in flight as failed, then stops the worker.
  ~CurlTransport() override;
  CurlTransport(const CurlTransport&) = delete;
  CurlTransport& operator=(const CurlTransport&) = delete;

  // Only "https" URLs are fetched; TLS peer and host checks are always on.
  // Refuses (false) only while shutting down or when libcurl has no handle to
  // give. A request that cannot be sent as given (a header name or value that
  // would break its line) is accepted and completed as failed at once.
  bool start(const HttpRequest& request, Completion done) override;

 private:
  struct Worker;
  std::unique_ptr<Worker> worker_;
};

}  // namespace chart_host
