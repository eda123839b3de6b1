#include "tools/chart/run/transport_watch.h"

namespace chart_tool::run {

namespace {

void count(TransportTally& tally, const HttpOutcome& outcome) {
  if (outcome.delivered) {
    ++tally.delivered;
    tally.failedInARow = 0;
    tally.notReachedInARow = 0;
    return;
  }
  ++tally.failed;
  ++tally.failedInARow;
  tally.lastError = outcome.error.empty() ? "the transfer failed" : outcome.error;
  if (outcome.failure == TransferFailure::AnswerCutShort) {
    ++tally.cutShort;
    tally.notReachedInARow = 0;
  } else {
    ++tally.notReached;
    ++tally.notReachedInARow;
  }
}

}  // namespace

bool serviceUnreachable(const TransportTally& tally) {
  return tally.delivered == 0 && tally.notReachedInARow >= kFailuresBeforeGivingUp;
}

bool TransportWatch::start(const HttpRequest& request, Completion done) {
  // The completion holds the tally, not the watch, which may be gone by then.
  std::shared_ptr<Shared> shared = shared_;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    ++shared->inFlight;
  }
  const bool started = next_->start(request, [shared, done = std::move(done)](HttpOutcome outcome) {
    {
      std::lock_guard<std::mutex> lock(shared->mutex);
      count(shared->tally, outcome);
      --shared->inFlight;
    }
    shared->ended.notify_all();
    done(std::move(outcome));
  });
  if (!started) {
    std::lock_guard<std::mutex> lock(shared->mutex);
    --shared->inFlight;
  }
  return started;
}

TransportTally TransportWatch::tally() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->tally;
}

TransportTally TransportWatch::settledTally(std::chrono::milliseconds limit) const {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->ended.wait_for(lock, limit, [this] { return shared_->inFlight <= 0; });
  return shared_->tally;
}

}  // namespace chart_tool::run
