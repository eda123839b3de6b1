#include "tools/chart/replay/recorded_calls.h"

#include <algorithm>

#include "host/message_log.h"
#include "tools/chart/replay/replay_transport.h"
#include "tools/recording/replay_timeline.h"

namespace chart_tool::replay {

namespace {

chart_host::HttpOutcome notInTheRun(const char* why) {
  chart_host::HttpOutcome outcome;
  outcome.error = why;
  outcome.failure = chart_host::TransferFailure::AnswerCutShort;
  return outcome;
}

}  // namespace

HandedAnswers::~HandedAnswers() {
  for (auto& [number, held] : held_) chart_host::completeQuietly(held.done, notInTheRun("the replay ended"));
}

bool HandedAnswers::start(const chart_host::HttpRequest& request, Completion done) {
  held_.emplace(++started_, Held{recording::routeOfRequest(request.url), std::move(done)});
  return true;
}

void HandedAnswers::handOver(int64_t number) {
  const auto held = held_.find(number);
  if (held == held_.end()) return;  // the replay made fewer requests than the run: nothing waits for it
  Completion done = std::move(held->second.done);
  const std::string route = held->second.route;
  held_.erase(held);
  const bool recorded = number <= static_cast<int64_t>(exchanges_.size());
  const recording::RecordedExchange* exchange = recorded ? &exchanges_[static_cast<std::size_t>(number - 1)] : nullptr;
  if (exchange && route == exchange->route) {
    chart_host::completeQuietly(done, recordedOutcome(*exchange));
    return;
  }
  failNotInTheRun(route, done);
}

void HandedAnswers::failNotInTheRun(const std::string& route, const Completion& done) {
  const auto asked = std::find_if(exchanges_.begin(), exchanges_.end(),
                                  [&route](const recording::RecordedExchange& e) { return e.route == route; });
  if (noted_.insert(route).second && note_) {
    std::string note = std::string(chart_host::kHostLineMark) + "the recording has no answer for " + route;
    note += asked == exchanges_.end() ? " (the run never asked for it)" : " on this call";
    note_(note + "; answered as a failed transfer");
  }
  chart_host::completeQuietly(done, notInTheRun("no answer in the recording"));
}

std::vector<HostDateTime> RecordedCalls::times() const {
  std::vector<HostDateTime> times;
  times.reserve(calls_.size());
  for (const recording::RecordedCall& call : calls_) times.push_back(call.at);
  return times;
}

void RecordedCalls::beforeCall() {
  if (next_ >= calls_.size()) return;
  const recording::RecordedCall& call = calls_[next_++];
  if (call.handed != 0) answers_->handOver(call.handed);
}

std::vector<chart_host::Bar> RecordedCalls::changedBars() const {
  std::vector<chart_host::Bar> bars;
  if (next_ == 0) return bars;
  for (const support::PriceBar& bar : calls_[next_ - 1].bars)
    bars.push_back(chart_host::Bar{bar.dateTime, bar.open, bar.high, bar.low, bar.close, bar.volume});
  return bars;
}

run::BarsTrouble RecordedCalls::barsTrouble() const {
  if (next_ == 0) return {};
  const recording::RecordedCall& call = calls_[next_ - 1];
  return {call.barsTold, call.barsWarning};
}

}  // namespace chart_tool::replay
