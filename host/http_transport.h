// How the chart host's HTTP facility moves a request to a server and back.
// The facility decides what the study sees; a transport only carries bytes.
// Implementations: a libcurl one (real HTTPS on a worker thread) and a
// scripted one for unit tests.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace chart_host {

struct HttpRequest {
  std::string url;
  std::string body;  // empty: GET; otherwise POST with this body
  std::vector<std::pair<std::string, std::string>> headers;  // in the study's order
};

// The end of one transfer. `delivered` is false when the transfer failed
// (name resolution, connection, TLS, timeout, cut short); the body is then
// meaningless.
struct HttpOutcome {
  bool delivered = false;
  long status = 0;
  std::string body;
  std::string error;  // why the transfer failed, when it did
};

class HttpTransport {
 public:
  using Completion = std::function<void(HttpOutcome)>;
  virtual ~HttpTransport() = default;
  // Begins one transfer. When it returns true, `done` is called exactly once,
  // on any thread, possibly before start returns; when it returns false the
  // request was refused and `done` is never called. A transport that is being
  // destroyed completes what it still holds as failed.
  virtual bool start(const HttpRequest& request, Completion done) = 0;
};

// Calls a completion for a transport's worker. An exception it throws is
// dropped there: a completion that throws loses only its own answer and
// never ends the worker's loop.
inline void completeQuietly(const HttpTransport::Completion& done, HttpOutcome outcome) {
  try {
    done(std::move(outcome));
  } catch (...) {
  }
}

}  // namespace chart_host
