#include "tools/chart/live/data_age.h"

#include "tools/support/date_time_text.h"

namespace chart_tool::live {

namespace {

// The time of day alone, or with its date when the answer is of another day.
std::string answerTime(HostDateTime answer, HostDateTime now) {
  const bool sameDay = support::dayNumberOf(answer) == support::dayNumberOf(now);
  return sameDay ? support::formatTimeOfDay(answer) : support::formatDateTime(answer);
}

std::string plotNotice(const ServiceRecord& record, const std::string& requestStart) {
  if (record.lastGoodAnswer()) return {};
  if (record.halted()) return "no levels: requests halted (see the message log)";
  if (!record.windowOpen()) return "no levels yet: requests start at " + requestStart;
  return "no answer from the service";
}

}  // namespace

std::string ageText(int64_t age_s) {
  if (age_s <= 90) return std::to_string(age_s) + " s ago";
  if (age_s <= 90 * 60) return std::to_string((age_s + 30) / 60) + " min ago";
  return std::to_string((age_s + 1800) / 3600) + " h ago";
}

DataAgeMarks dataAgeMarks(const ServiceRecord& record, const std::string& requestStart) {
  DataAgeMarks marks;
  if (const std::optional<HostDateTime> answer = record.lastGoodAnswer()) {
    marks.dataAge = "levels as of " + answerTime(*answer, record.now()) + ", " + ageText(*record.age_s());
    if (!record.windowOpen()) marks.dataAge += ", window closed";
  }
  if (record.halted()) {
    marks.warning = "REQUESTS HALTED";
  } else if (record.stale()) {
    marks.warning = "STALE";
  }
  marks.plotNotice = plotNotice(record, requestStart);
  return marks;
}

}  // namespace chart_tool::live
