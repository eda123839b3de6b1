// A transport that passes requests on to another and keeps count of how they
// ended, so a chart program can tell a service it cannot reach from one that
// answers. Completions may arrive on any thread.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "host/http_transport.h"

namespace chart_tool {

using chart_host::HttpOutcome;
using chart_host::HttpRequest;
using chart_host::HttpTransport;

struct TransportTally {
  int delivered = 0;
  int failed = 0;
  int failedInARow = 0;   // failures since the last delivered answer
  std::string lastError;  // the reason of the last failure
};

class TransportWatch : public HttpTransport {
 public:
  explicit TransportWatch(std::shared_ptr<HttpTransport> next) : next_(std::move(next)) {}
  bool start(const HttpRequest& request, Completion done) override;
  TransportTally tally() const;

 private:
  struct Shared {
    std::mutex mutex;
    TransportTally tally;
  };
  std::shared_ptr<HttpTransport> next_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

}  // namespace chart_tool
