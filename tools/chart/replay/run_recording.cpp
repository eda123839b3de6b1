#include "tools/chart/replay/run_recording.h"

#include "tools/chart/outputs/key_hiding.h"
#include "tools/chart/replay/recorded_inputs.h"

namespace chart_tool::replay {

using namespace chart_tool::outputs;

namespace {

std::vector<support::PriceBar> recordedBars(const std::vector<Bar>& bars) {
  std::vector<support::PriceBar> recorded;
  recorded.reserve(bars.size());
  for (const Bar& bar : bars)
    recorded.push_back({bar.dateTime, bar.open, bar.high, bar.low, bar.close, bar.volume});
  return recorded;
}

}  // namespace

bool RunRecording::open(const std::string& folder, const CallSpan& span, const Clock& clock, StudyInstance& instance,
                        const std::vector<Bar>& bars, bool syntheticBars, const std::string& apiKey,
                        std::string& error) {
  folder_ = folder;
  apiKey_ = apiKey;
  clock_ = &clock;
  timing_ = AnswerTiming{clock.simulated(), span.step_us};
  recording::RecordingHeader header;
  header.chartZone = instance.chart().zoneText();
  header.simulatedClock = clock.simulated();
  header.firstCall = span.first;
  header.lastCall = span.last;
  header.stepMicroseconds = span.step_us;
  header.syntheticBars = syntheticBars;
  for (const std::string& input : inputSettingTexts(instance)) header.inputs.push_back(withoutKey(input, apiKey));
  auto writer = std::make_unique<recording::RecordingWriter>();
  if (!writer->open(folder, header, recordedBars(bars), error)) {
    error = "--record: " + error;
    return false;
  }
  recorder_ = std::make_shared<ExchangeRecorder>(std::move(writer));
  // The real clock shows every bar before the first call; the simulated one
  // shows each as the clock passes it.
  if (!clock.simulated()) {
    barsRecorded_ = bars.size();
    if (!bars.empty()) newestRecorded_ = bars.back();
  }
  return true;
}

std::shared_ptr<HttpTransport> RunRecording::wrap(std::shared_ptr<HttpTransport> transport) {
  return std::make_shared<RecordingTransport>(std::move(transport), recorder_, *clock_, timing_, apiKey_);
}

recording::RecordedCall RunRecording::recordedCall(const CallRecord& call) {
  const std::vector<Bar>& bars = call.instance.chart().bars();
  recording::RecordedCall recorded;
  recorded.number = call.number;
  recorded.at = call.now;
  // Only the newest bar may have changed since (it was still forming); the
  // bars after it are new.
  std::size_t from = std::min(barsRecorded_, bars.size());
  if (from > 0 && from == barsRecorded_ && bars[from - 1] != newestRecorded_) --from;
  recorded.barsFrom = static_cast<int64_t>(from);
  recorded.bars = recordedBars(std::vector<Bar>(bars.begin() + static_cast<std::ptrdiff_t>(from), bars.end()));
  barsRecorded_ = bars.size();
  if (!bars.empty()) newestRecorded_ = bars.back();
  if (call.instance.lastCallAnswer()) recorded.handed = recorder_->nextHanded();
  recorded.barsTold = call.price.barsTold();
  recorded.barsWarning = call.price.barsWarning();
  return recorded;
}

void RunRecording::afterCall(CallRecord& call) {
  recorder_->appendCall(recordedCall(call));
  const std::string failure = recorder_->newFailure();
  if (!failure.empty())
    console_.tell("--record: " + failure + "; the run goes on without recording (the recording holds exchanges 1 to " +
                  std::to_string(recorder_->written()) + ")");
}

std::string RunRecording::summary() const {
  const int64_t written = recorder_->written();
  if (recorder_->stopped())
    return "the recording in " + folder_ + " stopped at exchange " + std::to_string(written) +
           " (writing failed)";
  return "recorded " + std::to_string(written) + (written == 1 ? " exchange" : " exchanges") + " in " + folder_;
}

}  // namespace chart_tool::replay
