#include "host/http_facility.h"

#include <algorithm>
#include <climits>
#include <unordered_set>
#include <utility>

namespace chart_host {

namespace {

// What the study reads for the end of one transfer, and what it came to.
HttpAnswer answerOf(int32_t id, std::string url, HttpOutcome outcome) {
  HttpAnswer answer{id, kFailedTransferText, std::move(url), outcome.delivered, outcome.status,
                    std::move(outcome.error), outcome.failure};
  if (!outcome.delivered) return answer;
  answer.text = outcome.body.empty() ? kEmptyBodyText : std::move(outcome.body);
  return answer;
}

}  // namespace

// The state completions reach. Completions hold it by shared_ptr, so one that
// arrives after the facility is gone still writes into live memory.
struct HttpFacility::Shared {
  std::mutex mutex;
  std::condition_variable answerArrived;
  std::deque<HttpAnswer> answers;        // arrived and not taken, in arrival order
  std::unordered_set<int32_t> inFlight;  // accepted and not yet answered
  int32_t lastId = 0;
  int acceptedCount = 0;

  bool inUse(int32_t id) const {
    return inFlight.count(id) != 0 ||
           std::any_of(answers.begin(), answers.end(),
                       [id](const HttpAnswer& answer) { return answer.requestId == id; });
  }

  // Positive and increasing; after the largest id it starts again at 1,
  // passing over any id whose answer is still to be taken.
  int32_t nextId() {
    do {
      lastId = lastId == INT32_MAX ? 1 : lastId + 1;
    } while (inUse(lastId));
    return lastId;
  }

  void deliver(int32_t id, std::string url, HttpOutcome outcome) {
    HttpAnswer answer = answerOf(id, std::move(url), std::move(outcome));
    {
      std::lock_guard<std::mutex> lock(mutex);
      // A transport that completes a request twice gets its second call ignored.
      if (inFlight.erase(id) == 0) return;
      answers.push_back(std::move(answer));
    }
    answerArrived.notify_all();
  }

  // A request the transport did not take is no longer waited for.
  void forget(int32_t id) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      inFlight.erase(id);
    }
    answerArrived.notify_all();
  }
};

HttpFacility::HttpFacility() : shared_(std::make_shared<Shared>()) {}

// Completions still held by the transport keep the shared state alive.
HttpFacility::~HttpFacility() { transport_.reset(); }

void HttpFacility::setTransport(std::shared_ptr<HttpTransport> transport) {
  transport_ = std::move(transport);
}

bool HttpFacility::hasTransport() const { return transport_ != nullptr; }

int32_t HttpFacility::submit(const HttpRequest& request) {
  if (!transport_) return 0;
  int32_t id = 0;
  {
    // Registered before the transport sees it: it may complete before start returns.
    std::lock_guard<std::mutex> lock(shared_->mutex);
    id = shared_->nextId();
    shared_->inFlight.insert(id);
  }
  bool started = false;
  try {
    std::shared_ptr<Shared> shared = shared_;
    started = transport_->start(request, [shared, id, url = request.url](HttpOutcome outcome) {
      shared->deliver(id, url, std::move(outcome));
    });
  } catch (...) {
    started = false;
  }
  if (!started) {
    shared_->forget(id);
    return 0;
  }
  std::lock_guard<std::mutex> lock(shared_->mutex);
  if (shared_->acceptedCount < INT_MAX) ++shared_->acceptedCount;
  return id;
}

std::optional<HttpAnswer> HttpFacility::takeAnswer(bool waitForOutstanding) {
  const auto now = std::chrono::steady_clock::now();
  return takeAnswerBy(waitForOutstanding ? now + answerWaitLimit_ : now).answer;
}

AnswerWait HttpFacility::takeAnswerBy(std::chrono::steady_clock::time_point deadline) {
  AnswerWait result;
  std::unique_lock<std::mutex> lock(shared_->mutex);
  const bool settled = shared_->answerArrived.wait_until(
      lock, deadline, [this] { return !shared_->answers.empty() || shared_->inFlight.empty(); });
  if (shared_->answers.empty()) {
    result.deadlinePassed = !settled;
    return result;
  }
  result.answer = std::move(shared_->answers.front());
  shared_->answers.pop_front();
  return result;
}

int HttpFacility::outstanding() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return static_cast<int>(shared_->inFlight.size() + shared_->answers.size());
}

int HttpFacility::accepted() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->acceptedCount;
}

}  // namespace chart_host
