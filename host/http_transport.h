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

// Where a failed transfer broke off. A service that answered, even in part,
// is there: its next answer may well come whole, so only a service never
// reached tells a chart program to give up.
enum class TransferFailure {
  // Name resolution, connecting or the TLS handshake failed, or the request
  // was never sent: nothing of the service was seen.
  ServiceNotReached,
  // The secure connection was made, then the answer did not arrive whole:
  // cut short, closed or reset mid-answer, or timed out waiting for it.
  AnswerCutShort,
};

// The end of one transfer. `delivered` is false when the transfer failed;
// the body is then meaningless and `failure` says where it broke off.
struct HttpOutcome {
  bool delivered = false;
  long status = 0;
  std::string body;
  std::string error;  // why the transfer failed, when it did
  TransferFailure failure = TransferFailure::ServiceNotReached;  // when not delivered
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
