#include "tools/chart/transport_watch.h"

namespace chart_tool {

bool TransportWatch::start(const HttpRequest& request, Completion done) {
  // The completion holds the tally, not the watch, which may be gone by then.
  std::shared_ptr<Shared> shared = shared_;
  return next_->start(request, [shared, done = std::move(done)](HttpOutcome outcome) {
    {
      std::lock_guard<std::mutex> lock(shared->mutex);
      TransportTally& tally = shared->tally;
      if (outcome.delivered) {
        ++tally.delivered;
        tally.failedInARow = 0;
      } else {
        ++tally.failed;
        ++tally.failedInARow;
        tally.lastError = outcome.error.empty() ? "the transfer failed" : outcome.error;
      }
    }
    done(std::move(outcome));
  });
}

TransportTally TransportWatch::tally() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->tally;
}

}  // namespace chart_tool
