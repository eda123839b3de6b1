#include "tools/chart/replay/recording_transport.h"

#include <chrono>

#include "tools/chart/outputs/key_hiding.h"

namespace chart_tool::replay {

using namespace chart_tool::outputs;

using recording::RecordedExchange;

namespace {

bool sameNameIgnoringCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return i == a.size() && b[i] == '\0';
}

// The URL's path: after the scheme and host, up to the query.
std::string routeOf(const std::string& url) {
  const std::size_t scheme = url.find("://");
  const std::size_t pathStart = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  if (pathStart == std::string::npos) return "/";
  return url.substr(pathStart, url.find_first_of("?#", pathStart) - pathStart);
}

}  // namespace

RecordedExchange recordedRequest(const HttpRequest& request, const std::string& apiKey) {
  RecordedExchange exchange;
  exchange.url = withoutKey(request.url, apiKey);
  exchange.route = routeOf(exchange.url);
  // The majors history is the one request under /hist/; every other the
  // study sends through the host is a profile.
  exchange.endpoint = exchange.route.find("/hist/") != std::string::npos ? "history" : "profile";
  exchange.method = request.body.empty() ? "GET" : "POST";
  exchange.requestBody = withoutKey(request.body, apiKey);
  for (const auto& [name, value] : request.headers) {
    const bool carriesKey = sameNameIgnoringCase(name, "Authorization");
    exchange.headers.emplace_back(name, carriesKey ? recording::kHiddenKey : withoutKey(value, apiKey));
  }
  return exchange;
}

int64_t ExchangeRecorder::begin() {
  std::lock_guard<std::mutex> lock(mutex_);
  return nextNumber_++;
}

void ExchangeRecorder::abandon(int64_t number) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (number == nextNumber_ - 1) --nextNumber_;
}

void ExchangeRecorder::fail(const std::string& error) {
  if (failure_.empty()) failure_ = error.empty() ? "writing failed" : error;
  waiting_.clear();
}

void ExchangeRecorder::finish(RecordedExchange exchange) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!failure_.empty()) return;
  waiting_.emplace(exchange.number, std::move(exchange));
  for (auto next = waiting_.find(writer_->exchangesWritten() + 1); next != waiting_.end();
       next = waiting_.find(writer_->exchangesWritten() + 1)) {
    std::string error;
    if (!writer_->append(next->second, error)) return fail(error);
    waiting_.erase(next);
  }
}

void ExchangeRecorder::handOn(int64_t number, const std::function<void()>& handOn) {
  std::lock_guard<std::mutex> lock(handingMutex_);
  reachedHost_.push_back(number);
  handOn();
}

int64_t ExchangeRecorder::nextHanded() {
  std::lock_guard<std::mutex> lock(handingMutex_);
  return handed_ < reachedHost_.size() ? reachedHost_[handed_++] : 0;
}

void ExchangeRecorder::appendCall(const recording::RecordedCall& call) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string error;
  if (failure_.empty() && !writer_->appendCall(call, error)) fail(error);
}

std::string ExchangeRecorder::newFailure() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (failure_.empty() || failureTold_) return {};
  failureTold_ = true;
  return failure_;
}

int64_t ExchangeRecorder::written() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return writer_->exchangesWritten();
}

bool ExchangeRecorder::stopped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !failure_.empty();
}

RecordingTransport::RecordingTransport(std::shared_ptr<HttpTransport> next, std::shared_ptr<ExchangeRecorder> recorder,
                                       const Clock& clock, AnswerTiming timing, std::string apiKey)
    : next_(std::move(next)), recorder_(std::move(recorder)), clock_(clock), timing_(timing), apiKey_(std::move(apiKey)) {}

bool RecordingTransport::start(const HttpRequest& request, Completion done) {
  RecordedExchange exchange = recordedRequest(request, apiKey_);
  exchange.number = recorder_->begin();
  exchange.requestedAt = clock_.now();
  const auto started = std::chrono::steady_clock::now();
  const int64_t number = exchange.number;
  // The completion holds the recorder, not the transport, which may be gone by then.
  auto finish = [recorder = recorder_, timing = timing_, apiKey = apiKey_, started, exchange = std::move(exchange),
                 done = std::move(done)](HttpOutcome outcome) mutable {
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    exchange.answeredAt = exchange.requestedAt + (timing.simulated ? timing.step_us : took.count());
    exchange.delivered = outcome.delivered;
    exchange.status = outcome.status;
    exchange.error = withoutKey(outcome.error, apiKey);
    exchange.serviceReached = outcome.delivered || outcome.failure == chart_host::TransferFailure::AnswerCutShort;
    exchange.body = withoutKey(outcome.body, apiKey);
    exchange.keyHidden = exchange.body != outcome.body || exchange.error != outcome.error;
    const int64_t number = exchange.number;
    recorder->finish(std::move(exchange));
    recorder->handOn(number, [&] { done(std::move(outcome)); });
  };
  if (next_->start(request, std::move(finish))) return true;
  recorder_->abandon(number);
  return false;
}

}  // namespace chart_tool::replay
