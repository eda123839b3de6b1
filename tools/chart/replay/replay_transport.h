// The service as a recording saw it (tarvio-chart --replay): every request
// is answered at once, without the network, by the recorded exchange of its
// route that was current at the clock's time (see replay_timeline.h), exactly
// as it ended then: delivered with its status and body, or failed with its
// error and whether the service was reached. A route the recording has no
// answer for by then fails as a transfer cut short (the recording is there,
// it has nothing to say), with one note of the host's per route. For the
// thread that calls the study: notes go to the sink during the request.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "host/http_transport.h"
#include "tools/chart/run/clock.h"
#include "tools/recording/replay_timeline.h"

namespace chart_tool {

using chart_host::HttpOutcome;
using chart_host::HttpRequest;
using chart_host::HttpTransport;

}  // namespace chart_tool

namespace chart_tool::replay {

using namespace chart_tool::run;

class ReplayTransport : public HttpTransport {
 public:
  using NoteSink = std::function<void(const std::string&)>;
  // The clock must outlive the transport.
  ReplayTransport(recording::ReplayTimeline timeline, const Clock& clock, NoteSink note)
      : timeline_(std::move(timeline)), clock_(clock), note_(std::move(note)) {}

  bool start(const HttpRequest& request, Completion done) override;

 private:
  recording::ReplayTimeline timeline_;
  const Clock& clock_;
  NoteSink note_;
  std::set<std::string> noted_;  // routes already told to have no answer
};

// The outcome a transfer that ended as `exchange` did hands the host.
HttpOutcome recordedOutcome(const recording::RecordedExchange& exchange);

// The host's note for a route without an answer; `found` is what the
// timeline found for it.
std::string missingAnswerNote(const std::string& route, const recording::ReplayTimeline::Found& found);

}  // namespace chart_tool::replay
