#include "tools/chart/replay/replay_transport.h"

#include "host/message_log.h"
#include "tools/support/date_time_text.h"

namespace chart_tool {

using chart_host::TransferFailure;

}  // namespace chart_tool

namespace chart_tool::replay {

HttpOutcome recordedOutcome(const recording::RecordedExchange& exchange) {
  HttpOutcome outcome;
  outcome.delivered = exchange.delivered;
  if (exchange.delivered) {
    outcome.status = exchange.status;
    outcome.body = exchange.body;
  } else {
    outcome.error = exchange.error;
    outcome.failure = exchange.serviceReached ? TransferFailure::AnswerCutShort : TransferFailure::ServiceNotReached;
  }
  return outcome;
}

std::string missingAnswerNote(const std::string& route, const recording::ReplayTimeline::Found& found) {
  std::string note = std::string(chart_host::kHostLineMark) + "the recording has no answer for " + route;
  note += found.routeRecorded ? " before " + support::formatTimeOfDay(found.firstRequestedAt)
                              : " (the run never asked for it)";
  return note + "; answered as a failed transfer";
}

bool ReplayTransport::start(const HttpRequest& request, Completion done) {
  const HostDateTime now = clock_.now();
  const std::string route = recording::routeOfRequest(request.url);
  const recording::ReplayTimeline::Found found = timeline_.at(route, now);
  if (found.exchange != nullptr) {
    chart_host::completeQuietly(done, recordedOutcome(*found.exchange));
    return true;
  }
  if (noted_.insert(route).second && note_) note_(missingAnswerNote(route, found));
  HttpOutcome missing;
  missing.error = "no answer in the recording";
  missing.failure = TransferFailure::AnswerCutShort;
  chart_host::completeQuietly(done, missing);
  return true;
}

}  // namespace chart_tool::replay
