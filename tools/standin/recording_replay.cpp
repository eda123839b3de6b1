#include "tools/standin/recording_replay.h"

#include <cmath>

#include "tools/support/date_time_text.h"

namespace standin {

RecordingReplay::RecordingReplay(recording::ReplayTimeline timeline, const RecordingClock& clock,
                                 std::chrono::steady_clock::time_point started)
    : timeline_(std::move(timeline)), speed_(clock.speed), started_(started) {
  const HostDateTime first = timeline_.firstRequestedAt();
  start_ = clock.from_s_of_day
               ? support::startOfDay(first) + *clock.from_s_of_day * kMicrosecondsPerSecond
               : first;
}

HostDateTime RecordingReplay::now() const {
  const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - started_;
  return start_ + static_cast<HostDateTime>(std::floor(elapsed.count() * speed_));
}

RecordedAnswer RecordingReplay::answerAt(const std::string& target, HostDateTime time) const {
  RecordedAnswer answer;
  const recording::ReplayTimeline::Found found = timeline_.at(recording::routeOfRequest(target), time);
  if (found.exchange == nullptr) return answer;
  const recording::RecordedExchange& exchange = *found.exchange;
  answer.kind = exchange.delivered ? RecordedAnswer::Kind::Delivered : RecordedAnswer::Kind::Failed;
  // A status beyond what HTTP can carry cannot have been received; the
  // reader hands such a line over as it stands.
  answer.status = exchange.status >= 100 && exchange.status <= 999 ? static_cast<unsigned>(exchange.status) : 500;
  answer.body = exchange.body;
  return answer;
}

}  // namespace standin
