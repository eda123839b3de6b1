// A chart run's recording (--record FOLDER): the folder made at the start
// with the run's settings and bars, the service transport wrapped so every
// exchange is written as it ends, the bars written again when the chart's
// change (on the real clock, a followed bars file grows), and one line when
// writing fails. The chart matters more than its recording: after a failure
// the run goes on unrecorded and its summary says where the recording stops.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/chart.h"
#include "host/study_instance.h"
#include "tools/chart/outputs/console.h"
#include "tools/chart/run/after_call.h"
#include "tools/chart/run/clock.h"
#include "tools/chart/replay/recording_transport.h"
#include "tools/chart/run/call_span.h"

namespace chart_tool {

using chart_host::Bar;
using chart_host::StudyInstance;

}  // namespace chart_tool

namespace chart_tool::replay {

using namespace chart_tool::run;

class RunRecording : public AfterCall {
 public:
  // Failures are told on the console, which must outlive the recording.
  explicit RunRecording(outputs::Console& console) : console_(console) {}

  // Makes the folder and writes the header (the chart's zone, the clock, the
  // span and the study's inputs, the key left out) and the bars; false with
  // one line. The clock must outlive the recording. `syntheticBars`: the bars
  // are made up. `apiKey` is hidden in everything written.
  bool open(const std::string& folder, const CallSpan& span, const Clock& clock, StudyInstance& instance,
            const std::vector<Bar>& bars, bool syntheticBars, const std::string& apiKey, std::string& error);

  // `transport` wrapped so that what passes through it is recorded.
  std::shared_ptr<HttpTransport> wrap(std::shared_ptr<HttpTransport> transport);

  // After every call, its line: the clock's time, the chart's bars that
  // changed since the call before, and the exchange whose answer the study
  // was handed. A failure to write is told the first time.
  void afterCall(CallRecord& call) override;

  // "recorded N exchanges in FOLDER", or where it stopped.
  std::string summary() const;

 private:
  // The call as the recording keeps it.
  recording::RecordedCall recordedCall(const CallRecord& call);

  outputs::Console& console_;
  std::string folder_;
  std::string apiKey_;
  const Clock* clock_ = nullptr;
  AnswerTiming timing_;
  std::shared_ptr<ExchangeRecorder> recorder_;
  // The chart's bars as the last call line left them: how many, and the newest.
  std::size_t barsRecorded_ = 0;
  Bar newestRecorded_{};
};

// The line a run with a futures target prints at the start of a recording:
// the module's own conversion request is not recorded.
inline constexpr const char* kFuturesNotRecorded =
    "note: the module sends its futures conversion itself, not through the chart; --record does not record it";

}  // namespace chart_tool::replay
