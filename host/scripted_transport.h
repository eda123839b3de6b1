// A transport for unit tests: it keeps every request it is handed and
// answers only when the test says so, in the order the requests came.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "host/http_transport.h"

namespace chart_host {

class ScriptedTransport : public HttpTransport {
 public:
  // Requests still waiting are completed as failed transfers.
  ~ScriptedTransport() override;
  bool start(const HttpRequest& request, Completion done) override;

  // Every request handed over, in order (refused ones included).
  const std::vector<HttpRequest>& received() const { return received_; }
  // The next `count` requests are refused.
  void refuseNext(int count = 1) { refusals_ += count; }
  // Answers the oldest unanswered request with a body (status 200) or as a
  // failed transfer that broke off where `failure` says. False when no
  // request is waiting.
  bool answer(const std::string& body, long status = 200);
  bool fail(TransferFailure failure = TransferFailure::ServiceNotReached);
  int waiting() const { return static_cast<int>(pending_.size()); }

 private:
  std::vector<HttpRequest> received_;
  std::deque<Completion> pending_;
  int refusals_ = 0;
};

}  // namespace chart_host
