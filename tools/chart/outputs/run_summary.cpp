#include "tools/chart/outputs/run_summary.h"

#include <map>

#include "tools/support/date_time_text.h"

namespace chart_tool::outputs {

namespace {

std::string counted(int64_t count, const std::string& one, const std::string& many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// " (HTTP 500 ×2, by the study ×1)": how often each kind came.
template <typename Kind, typename Name>
std::string byKind(const std::map<Kind, int64_t>& counts, Name name) {
  std::string text;
  for (const auto& [kind, count] : counts)
    text += (text.empty() ? " (" : ", ") + name(kind) + " \u00d7" + std::to_string(count);
  return text.empty() ? text : text + ")";
}

}  // namespace

std::string serviceSummary(const ServiceRecord& record) {
  std::string text = counted(record.calls(), "call", "calls") + ": " +
                     counted(record.answers(), "answer", "answers");
  if (record.historyAnswers() > 0) text += ", " + counted(record.historyAnswers(), "history answer", "history answers");
  if (record.failedTransfers() > 0) {
    text += ", " + counted(record.failedTransfers(), "failed transfer", "failed transfers") +
            byKind(record.failuresByReason(), [](const std::string& reason) { return reason; });
  }
  if (record.refusals() > 0) {
    text += ", " + counted(record.refusals(), "answer refused", "answers refused") +
            byKind(record.refusalsByStatus(), [](long status) {
              return status == kHttpOk ? std::string("by the study") : "HTTP " + std::to_string(status);
            });
  }
  const std::optional<HostDateTime> good = record.lastGoodAnswer();
  text += good ? "; last good answer at " + support::formatDateTime(*good) : std::string("; no good answer");
  if (record.stale()) text += "; levels STALE at the end";
  return text + (record.halted() ? "; requests halted" : "; requests not halted");
}

void RunSummary::afterCall(run::CallRecord& call) { calls_ = call.number; }

void RunSummary::print(const ServiceRecord& record) const {
  if (console_.quiet()) return;
  const run::MessageCounts& counts = log_.counts();
  std::string summary = serviceSummary(record) + "; " +
                        counted(counts.studyMessages, "message", "messages") + " of the study (" +
                        counted(counts.studyAlerts, "alert", "alerts") + "), " +
                        counted(counts.levelAlerts, "level alert", "level alerts");
  std::string written;
  for (const std::string* path : {&outputs_.pngPath, &outputs_.csvPath, &outputs_.drawingsPath, &outputs_.logPath,
                                  &outputs_.tracePath, &outputs_.statusPath})
    if (!path->empty()) written += (written.empty() ? "; wrote " : ", ") + *path;
  console_.tell(summary + written);
}

}  // namespace chart_tool::outputs
