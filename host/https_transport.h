// The chart host's real transport: HTTPS through the platform's own client,
// one implementation file per platform (libcurl, WinHTTP), each naming its
// instance of HttpsTransport (CurlTransport, WinHttpTransport) and its
// options. Transfers run on the transport's one worker thread, so start()
// never waits on the network; start() may be called from any thread, and
// completions are called on the worker thread. A completion must not destroy
// the transport.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "host/http_transport.h"

namespace chart_host {

// What a real transport is told whatever its platform; each platform's
// options add their own.
struct HttpsTransportBasics {
  // Bound of name resolution and connecting; a value below 1 takes the
  // default, since 0 would leave it unbounded.
  long connectTimeoutMs = 5000;
  std::string userAgent;  // empty: none besides a request's own header
  std::size_t maxBodyBytes = 64u * 1024u * 1024u;  // a longer body fails the transfer
};

template <class Options>
class HttpsTransport : public HttpTransport {
 public:
  explicit HttpsTransport(Options options = {});
  // Completes what the transport still holds as failed, then stops the worker.
  ~HttpsTransport() override;

  // Only "https" URLs are fetched, with the server's certificate checked.
  // Refuses (false) only while shutting down or when the platform's client
  // is not available. A request that cannot be sent as given (a header that
  // would break its line) is accepted and completed as failed.
  bool start(const HttpRequest& request, Completion done) override;

 private:
  struct Worker;  // the platform's, in its implementation file
  std::unique_ptr<Worker> worker_;
};

}  // namespace chart_host
