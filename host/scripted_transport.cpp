#include "host/scripted_transport.h"

#include <utility>

namespace chart_host {

ScriptedTransport::~ScriptedTransport() {
  while (fail()) {
  }
}

bool ScriptedTransport::start(const HttpRequest& request, Completion done) {
  received_.push_back(request);
  if (refusals_ > 0) {
    --refusals_;
    return false;
  }
  pending_.push_back(std::move(done));
  return true;
}

bool ScriptedTransport::answer(const std::string& body, long status) {
  if (pending_.empty()) return false;
  // Taken off the queue first: the completion may hand over a new request.
  Completion done = std::move(pending_.front());
  pending_.pop_front();
  done(HttpOutcome{true, status, body, {}});
  return true;
}

bool ScriptedTransport::fail(TransferFailure failure) {
  if (pending_.empty()) return false;
  Completion done = std::move(pending_.front());
  pending_.pop_front();
  HttpOutcome outcome;
  outcome.failure = failure;
  done(std::move(outcome));
  return true;
}

}  // namespace chart_host
