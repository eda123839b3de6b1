#include "tools/chart/run/service_record.h"

#include <algorithm>

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
  const std::string alert = lastAlert(call.lines);
  const std::string complaint = complaintOf(call.lines);
  if (!alert.empty()) lastError_ = alert;
  // An answer refused or failed says more than an alert beside it.
  if (call.answer) noteAnswer(*call.answer, complaint, call.now);
  if (call.halted && !halted_) haltReason_ = complaint.empty() ? lastError_ : complaint;
  if (!call.halted) haltReason_.clear();
  halted_ = call.halted;
  const bool asking = windowOpen_ && !halted_;
  if (!asking) {
    askingSince_.reset();
  } else if (!askingSince_) {
    askingSince_ = call.now;
  }
}

void ServiceRecord::noteAnswer(const HttpAnswer& answer, const std::string& complaint, HostDateTime now) {
  if (answer.delivered) lastHttpStatus_ = answer.status;
  switch (judgeAnswer(answer, complaint)) {
    case AnswerJudgement::Taken:
      ++answers_;
      lastGoodAnswer_ = now;
      break;
    case AnswerJudgement::HistoryTaken:
      ++historyAnswers_;
      break;
    case AnswerJudgement::Refused:
      ++refusals_;
      ++refusalsByStatus_[answer.status];
      lastError_ = answer.status == kHttpOk ? complaint : "HTTP " + std::to_string(answer.status);
      if (answer.status != kHttpOk && !complaint.empty()) lastError_ += ": " + complaint;
      break;
    case AnswerJudgement::TransferFailed: {
      ++failedTransfers_;
      const std::string reason = answer.error.empty() ? "the transfer failed" : answer.error;
      ++failuresByReason_[reason];
      lastError_ = reason;
      break;
    }
  }
}

std::optional<int64_t> ServiceRecord::age_s() const {
  if (!lastGoodAnswer_) return std::nullopt;
  return std::max<int64_t>(study_door::elapsedMicroseconds(now_, *lastGoodAnswer_) / kMicrosecondsPerSecond, 0);
}

bool ServiceRecord::stale() const {
  if (!windowOpen_ || halted_ || !askingSince_) return false;
  const HostDateTime from = std::max(*askingSince_, lastGoodAnswer_.value_or(*askingSince_));
  return study_door::elapsedMicroseconds(now_, from) >= kStaleIntervals * interval_s_ * kMicrosecondsPerSecond;
}

}  // namespace chart_tool::run
