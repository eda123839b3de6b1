// The service's answers as the study judged them, call by call: how many
// came, which the study took, which were refused and which transfers failed,
// when the study last took a profile, and whether the levels it draws are
// still live. Fed after every ordinary call; what the title bar, the status
// file and the run's summary report. Not thread-safe.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/http_facility.h"
#include "host/message_log.h"
#include "study/host_interface.h"

namespace chart_tool::run {

// The one status of an answer the service meant to give.
inline constexpr long kHttpOk = 200;

// What one ordinary call showed of the service and of the study's requests.
struct ObservedCall {
  HostDateTime now = 0;                            // the clock's time of the call
  std::optional<chart_host::HttpAnswer> answer;    // the answer handed to the call, if any
  std::vector<chart_host::LogLine> lines;          // the study's log lines of the call
  bool halted = false;                             // the study's halt flag after the call
  bool windowOpen = false;                         // its request window is open now
  int64_t interval_s = 5;                          // its Request Interval input
  // The service's own time of the profile the study holds (its "timestamp"),
  // in the chart's time; none while it holds none.
  std::optional<HostDateTime> snapshotTime;
};

// How an answer was judged.
enum class AnswerJudgement { Taken, HistoryTaken, Refused, TransferFailed };

// What the study said against the answer handed to a call: its last alert
// on the call, else its last message of any kind, for the study writes
// nothing on a call whose answer it took. Messages of the module's own
// futures conversion request, which runs beside the answers, alerts among
// them, are not about them. Empty when the study said nothing against it.
std::string complaintOf(const std::vector<chart_host::LogLine>& lines);

// The judgement of one answer: not delivered is a failed transfer; delivered
// with a status other than 200, or with a complaint of the study on its call
// (the service's "error", an invalid key, a body it cannot read), a refusal;
// otherwise taken, as a profile or, by its URL, as a majors history.
AnswerJudgement judgeAnswer(const chart_host::HttpAnswer& answer, const std::string& complaint);

// True for the URL of a majors-history request.
bool isHistoryUrl(const std::string& url);

// Why the service gives no levels now, from the first call it failed on
// until the next profile the study takes.
struct Outage {
  enum class Kind { TransferFailed, Refused };
  Kind kind = Kind::TransferFailed;
  HostDateTime since = 0;  // the call it began on
  std::string reason;      // "Couldn't connect to server", "HTTP 500", or the study's complaint
  long status = 0;         // of a refused answer
};

class ServiceRecord {
 public:
  // A study that is asking and took no profile for this many request
  // intervals of clock time shows levels that are no longer live.
  static constexpr int64_t kStaleIntervals = 3;
  // The service may refresh its snapshot less often than the study asks: its
  // own time may lag this much before the levels count as stale.
  static constexpr int64_t kDefaultStaleAfter_s = 120;

  explicit ServiceRecord(int64_t staleAfter_s = kDefaultStaleAfter_s) : staleAfter_s_(staleAfter_s) {}

  void noteCall(const ObservedCall& call);

  int64_t calls() const { return calls_; }
  // Every answer the study received is counted once, in one of these four:
  // profiles taken, histories taken, refusals and failed transfers. Only a
  // profile taken makes the levels live; a history only fills the bars
  // before the first profile, so it is counted apart and never refreshes the
  // time of the last good answer.
  int64_t answers() const { return answers_; }
  int64_t historyAnswers() const { return historyAnswers_; }
  int64_t refusals() const { return refusals_; }
  int64_t failedTransfers() const { return failedTransfers_; }
  // Refusals by HTTP status (200: the study refused what the service sent),
  // failed transfers by the transport's reason.
  const std::map<long, int64_t>& refusalsByStatus() const { return refusalsByStatus_; }
  const std::map<std::string, int64_t>& failuresByReason() const { return failuresByReason_; }

  // The status of the latest delivered answer; none before the first.
  std::optional<long> lastHttpStatus() const { return lastHttpStatus_; }
  // The latest error since the last good answer: the study's alert line or
  // complaint about an answer ("HTTP 500: ..." for another status than 200),
  // or the transport's reason for a transfer that failed; and the call it
  // came on. Empty, and none, before the first and after a good answer.
  const std::string& lastError() const { return lastError_; }
  std::optional<HostDateTime> lastErrorAt() const { return lastErrorAt_; }
  // The clock time of the call on which the study last took a profile.
  std::optional<HostDateTime> lastGoodAnswer() const { return lastGoodAnswer_; }

  // The service's own time of the levels, when the profile's timestamp reads
  // as a time within a day of the clock; none otherwise, and the levels'
  // age is then counted from the answer's arrival.
  std::optional<HostDateTime> snapshotTime() const;
  // The time the levels' age counts from: the snapshot's, else the arrival's.
  std::optional<HostDateTime> levelsTime() const;
  // Seconds from levelsTime() to the clock of the latest call, never below 0
  // (a service clock ahead of ours counts as age 0).
  std::optional<int64_t> age_s() const;
  // Once, on the call it was first seen: how far the service's clock is
  // ahead of ours. Empty otherwise.
  std::string takeNote() { return std::exchange(note_, std::string()); }

  // From the first call an answer failed or was refused until the next good
  // one; none while the service answers.
  const std::optional<Outage>& outage() const { return outage_; }

  bool halted() const { return halted_; }
  // The study's alert on the call its requests were halted, e.g. "Tarvio API
  // Error: ERROR: Invalid API Key. Halting requests."; empty while not halted.
  const std::string& haltReason() const { return haltReason_; }
  bool windowOpen() const { return windowOpen_; }
  HostDateTime now() const { return now_; }
  int64_t interval_s() const { return interval_s_; }
  int64_t staleAfter_s() const { return staleAfter_s_; }

  // The levels are no longer live, while the study is asking (window open,
  // not halted): it took no profile for kStaleIntervals request intervals,
  // counted from the later of the last good answer and the call the asking
  // began (a window that opens on yesterday's levels is not stale before the
  // study had its chance); or the service's own time of the levels is more
  // than staleAfter_s old. Outside the window, or halted, the study does not
  // ask: nothing is judged stale then, and the age (and the halt) speak for
  // themselves.
  bool stale() const;
  // Why stale() holds, in words; empty while it does not.
  std::string staleReason() const;

 private:
  void noteAnswer(const chart_host::HttpAnswer& answer, const std::string& complaint, HostDateTime now);
  void noteSnapshot(std::optional<HostDateTime> snapshot);
  void setError(std::string error, HostDateTime at);
  bool unanswered() const;

  int64_t staleAfter_s_;
  int64_t calls_ = 0;
  int64_t answers_ = 0;
  int64_t historyAnswers_ = 0;
  int64_t refusals_ = 0;
  int64_t failedTransfers_ = 0;
  std::map<long, int64_t> refusalsByStatus_;
  std::map<std::string, int64_t> failuresByReason_;
  std::optional<long> lastHttpStatus_;
  std::string lastError_;
  std::optional<HostDateTime> lastErrorAt_;
  std::optional<HostDateTime> lastGoodAnswer_;
  std::optional<HostDateTime> snapshotTime_;
  std::optional<HostDateTime> askingSince_;
  std::optional<Outage> outage_;
  std::string note_;
  bool aheadTold_ = false;
  bool halted_ = false;
  std::string haltReason_;
  bool windowOpen_ = false;
  int64_t interval_s_ = 5;
  HostDateTime now_ = 0;
};

}  // namespace chart_tool::run
