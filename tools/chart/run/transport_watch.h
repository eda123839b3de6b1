// A transport that passes requests on to another and keeps count of how they
// ended, so a chart program can tell a service it cannot reach from one that
// answers, even if only in part. Completions may arrive on any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "host/http_transport.h"

namespace chart_tool {

using chart_host::HttpOutcome;
using chart_host::HttpRequest;
using chart_host::HttpTransport;
using chart_host::TransferFailure;

}  // namespace chart_tool

namespace chart_tool::run {

struct TransportTally {
  int delivered = 0;
  int failed = 0;           // every failed transfer, of either kind below
  int notReached = 0;       // failed before anything of the service was seen
  int cutShort = 0;         // the service was reached, its answer did not arrive whole
  int failedInARow = 0;     // failures since the last delivered answer
  int notReachedInARow = 0;  // not-reached failures since the service was last reached
  std::string lastError;    // the reason of the last failure
};

// A service that never delivered an answer and was not reached on this many
// transfers in a row is not there (a wrong address, nothing listening, a
// certificate not trusted). One that answered, even in part, is asked again.
constexpr int kFailuresBeforeGivingUp = 3;
bool serviceUnreachable(const TransportTally& tally);

class TransportWatch : public HttpTransport {
 public:
  explicit TransportWatch(std::shared_ptr<HttpTransport> next) : next_(std::move(next)) {}
  bool start(const HttpRequest& request, Completion done) override;
  TransportTally tally() const;
  // The tally once every transfer started so far has ended, waiting no
  // longer than `limit`. On the simulated clock a run judges the service by
  // this, so how fast a refusal comes back never moves the call it stops at.
  TransportTally settledTally(std::chrono::milliseconds limit) const;

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable ended;
    int inFlight = 0;
    TransportTally tally;
  };
  std::shared_ptr<HttpTransport> next_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

}  // namespace chart_tool::run
