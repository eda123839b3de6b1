#include "tools/chart/run/service_record.h"

#include <algorithm>
#include <cstdlib>

#include "tools/chart/study_door/study_door.h"

namespace chart_tool {

using chart_host::HttpAnswer;

}  // namespace chart_tool

namespace chart_tool::run {

namespace {

// The last alert among the call's lines: what the study wanted noticed last.
std::string lastAlert(const std::vector<chart_host::LogLine>& lines) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line)
    if (line->alert) return line->text;
  return {};
}

}  // namespace

bool isHistoryUrl(const std::string& url) { return url.find("/hist/") != std::string::npos; }

std::string complaintOf(const std::vector<chart_host::LogLine>& lines) {
  std::string lastNote;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (study_door::isFuturesConversionLine(line->text)) continue;
    if (line->alert) return line->text;
    if (lastNote.empty()) lastNote = line->text;
  }
  return lastNote;
}

AnswerJudgement judgeAnswer(const HttpAnswer& answer, const std::string& complaint) {
  if (!answer.delivered) return AnswerJudgement::TransferFailed;
  if (answer.status != kHttpOk || !complaint.empty()) return AnswerJudgement::Refused;
  return isHistoryUrl(answer.url) ? AnswerJudgement::HistoryTaken : AnswerJudgement::Taken;
}

void ServiceRecord::noteCall(const ObservedCall& call) {
  ++calls_;
  now_ = call.now;
  windowOpen_ = call.windowOpen;
  // An interval of 0 asks on every call; a second is the least the clock steps.
  interval_s_ = std::max<int64_t>(call.interval_s, 1);
  const std::string complaint = complaintOf(call.lines);
  // An answer refused or failed says more than an alert beside it.
  const std::optional<AnswerJudgement> judged =
      call.answer ? std::optional(judgeAnswer(*call.answer, complaint)) : std::nullopt;
  if (call.answer) noteAnswer(*call.answer, complaint, call.now);
  const bool answerFailed = judged == AnswerJudgement::Refused || judged == AnswerJudgement::TransferFailed;
  if (const std::string alert = lastAlert(call.lines); !alert.empty() && !answerFailed) setError(alert, call.now);
  noteSnapshot(call.snapshotTime);
  if (call.halted && !halted_) haltReason_ = complaint.empty() ? lastError_ : complaint;
  if (!call.halted) haltReason_.clear();
  halted_ = call.halted;
  // Halted requests are the study's own stop, told as such, not an outage.
  if (halted_) outage_.reset();
  const bool asking = windowOpen_ && !halted_;
  if (!asking) {
    askingSince_.reset();
  } else if (!askingSince_) {
    askingSince_ = call.now;
  }
}

void ServiceRecord::setError(std::string error, HostDateTime at) {
  lastError_ = std::move(error);
  lastErrorAt_ = at;
}

void ServiceRecord::noteSnapshot(std::optional<HostDateTime> snapshot) {
  // A timestamp far from the clock is not a time of day the service meant:
  // the age then counts from the answer's arrival.
  const bool believable =
      snapshot && std::llabs(study_door::elapsedMicroseconds(now_, *snapshot)) <= kMicrosecondsPerDay;
  snapshotTime_ = believable ? snapshot : std::nullopt;
  if (!snapshotTime_ || aheadTold_) return;
  const int64_t ahead_s = study_door::elapsedMicroseconds(*snapshotTime_, now_) / kMicrosecondsPerSecond;
  if (ahead_s < 1) return;
  aheadTold_ = true;
  note_ = "the service's clock is " + std::to_string(ahead_s) +
          " s ahead of the chart's: its levels count as 0 s old while they are ahead";
}

void ServiceRecord::noteAnswer(const HttpAnswer& answer, const std::string& complaint, HostDateTime now) {
  if (answer.delivered) lastHttpStatus_ = answer.status;
  const auto beginOutage = [&](Outage::Kind kind, std::string reason) {
    if (!outage_) outage_ = Outage{kind, now, {}, 0};
    outage_->kind = kind;
    outage_->reason = std::move(reason);
    outage_->status = answer.status;
  };
  switch (judgeAnswer(answer, complaint)) {
    case AnswerJudgement::Taken:
      ++answers_;
      lastGoodAnswer_ = now;
      lastError_.clear();
      lastErrorAt_.reset();
      outage_.reset();
      break;
    case AnswerJudgement::HistoryTaken:
      ++historyAnswers_;
      break;
    case AnswerJudgement::Refused: {
      ++refusals_;
      ++refusalsByStatus_[answer.status];
      const std::string status = "HTTP " + std::to_string(answer.status);
      std::string error = answer.status == kHttpOk ? complaint : status;
      if (answer.status != kHttpOk && !complaint.empty()) error += ": " + complaint;
      setError(error, now);
      beginOutage(Outage::Kind::Refused, answer.status == kHttpOk ? complaint : status);
      break;
    }
    case AnswerJudgement::TransferFailed: {
      ++failedTransfers_;
      const std::string reason = answer.error.empty() ? "the transfer failed" : answer.error;
      ++failuresByReason_[reason];
      setError(reason, now);
      beginOutage(Outage::Kind::TransferFailed, reason);
      break;
    }
  }
}

std::optional<HostDateTime> ServiceRecord::snapshotTime() const { return lastGoodAnswer_ ? snapshotTime_ : std::nullopt; }

std::optional<HostDateTime> ServiceRecord::levelsTime() const {
  if (const std::optional<HostDateTime> snapshot = snapshotTime()) return snapshot;
  return lastGoodAnswer_;
}

std::optional<int64_t> ServiceRecord::age_s() const {
  const std::optional<HostDateTime> from = levelsTime();
  if (!from) return std::nullopt;
  return std::max<int64_t>(study_door::elapsedMicroseconds(now_, *from) / kMicrosecondsPerSecond, 0);
}

bool ServiceRecord::unanswered() const {
  const HostDateTime from = std::max(*askingSince_, lastGoodAnswer_.value_or(*askingSince_));
  return study_door::elapsedMicroseconds(now_, from) >= kStaleIntervals * interval_s_ * kMicrosecondsPerSecond;
}

bool ServiceRecord::stale() const { return !staleReason().empty(); }

std::string ServiceRecord::staleReason() const {
  if (!windowOpen_ || halted_ || !askingSince_) return {};
  if (unanswered())
    return "no profile taken for " + std::to_string(kStaleIntervals) + " request intervals of " +
           std::to_string(interval_s_) + " s";
  const std::optional<int64_t> age = age_s();
  if (snapshotTime() && age && *age > staleAfter_s_)
    return "the service's levels are " + std::to_string(*age) + " s old by its own time, more than the " +
           std::to_string(staleAfter_s_) + " s --stale-after allows";
  return {};
}

}  // namespace chart_tool::run
