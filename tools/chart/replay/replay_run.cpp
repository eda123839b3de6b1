#include "tools/chart/replay/replay_run.h"

#include <algorithm>

#include "host/study_instance.h"
#include "tools/chart/command_line/option_values.h"
#include "tools/chart/replay/replay_transport.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::replay {

using namespace chart_tool::command_line;

std::optional<recording::Recording> openReplay(const RunPlan& typed, RunPlan& resolved, std::string& error) {
  const std::string& path = typed.run.replayPath;
  recording::Recording read;
  if (!recording::readRecording(path, read, error)) return std::nullopt;
  if (read.header.version >= recording::kFirstVersionWithCalls && read.calls.empty()) {
    error = path + ": the recording holds no call (its run ended before the first call was written)";
    return std::nullopt;
  }
  resolved = typed;
  InputsSettings& inputs = resolved.chart.inputs;
  inputs.recorded.clear();
  inputs.recordingPath = path;
  for (const std::string& text : read.header.inputs) {
    const std::optional<InputSetting> setting = readInputSetting(text);
    if (!setting) {
      error = path + ": a recorded input is not NAME=VALUE: '" + text + "'";
      return std::nullopt;
    }
    inputs.recorded.push_back(*setting);
  }
  // A recording of calls is replayed from its first call, so the study is in
  // the state the run was; --start only says where the writing begins.
  if (read.header.version >= recording::kFirstVersionWithCalls) resolved.chart.outputs.from = typed.run.clock.start;
  resolved.chart.zoneText = read.header.chartZone;
  if (resolved.chart.bars.path.empty()) resolved.chart.bars.path = read.barsPath;
  resolved.chart.bars.recordedSynthetic = read.header.syntheticBars;
  return read;
}

namespace {

// An older recording: its span and step, or the stretch the command line
// chooses, up to its last answer.
ReplaySpan spanByTime(const ClockSettings& clock, const recording::Recording& recording) {
  const recording::RecordingHeader& header = recording.header;
  ReplaySpan replay;
  CallSpan& span = replay.span;
  span.step_us = clock.stepGiven || header.stepMicroseconds <= 0 ? clock.stepSeconds * kMicrosecondsPerSecond
                                                                 : header.stepMicroseconds;
  span.first = clock.start.value_or(header.firstCall);
  replay.recordingEnds = header.lastCall;
  for (const recording::RecordedExchange& exchange : recording.exchanges)
    replay.recordingEnds = std::max(replay.recordingEnds, exchange.answeredAt);
  if (!recording.exchanges.empty()) replay.recordingEnds = std::min(header.lastCall, replay.recordingEnds);
  span.last = std::max(clock.end.value_or(header.lastCall), span.first);
  replay.notes.push_back("a recording of version " + std::to_string(header.version) +
                         ": its answers are replayed by their times, not call for call");
  return replay;
}

// A recording of calls: every call up to --end, at its recorded time.
ReplaySpan spanOfCalls(const ClockSettings& clock, const recording::Recording& recording) {
  ReplaySpan replay;
  CallSpan& span = replay.span;
  span.step_us = recording.header.stepMicroseconds;
  for (const recording::RecordedCall& call : recording.calls)
    if (!clock.end || call.at <= *clock.end) span.times.push_back(call.at);
  replay.recordingEnds = recording.calls.empty() ? recording.header.firstCall : recording.calls.back().at;
  if (span.times.empty()) span.times.push_back(recording.calls.empty() ? recording.header.firstCall : recording.calls.front().at);
  span.first = span.times.front();
  span.last = span.times.back();
  if (clock.stepGiven) replay.notes.push_back("--step does not apply to a recording of calls: the replay makes the calls the run made");
  if (clock.start)
    replay.notes.push_back("--start: the replay makes the run's calls from its first, so the study is in the state the "
                           "run was, and writes frames and output rows from --start on");
  return replay;
}

}  // namespace

ReplaySpan replaySpan(const ClockSettings& clock, const recording::Recording& recording) {
  const bool byCalls = recording.header.version >= recording::kFirstVersionWithCalls;
  ReplaySpan replay = byCalls ? spanOfCalls(clock, recording) : spanByTime(clock, recording);
  CallSpan& span = replay.span;
  if (span.times.empty() && span.last > replay.recordingEnds) {
    span.last = std::max(replay.recordingEnds, span.first);
  }
  std::string hidden;
  for (const recording::RecordedExchange& exchange : recording.exchanges)
    if (exchange.keyHidden) hidden += (hidden.empty() ? "" : ", ") + std::to_string(exchange.number);
  if (!hidden.empty())
    replay.notes.push_back("the key was hidden in what the service sent in exchange" +
                           std::string(hidden.find(',') == std::string::npos ? " " : "s ") + hidden +
                           "; they replay as recorded, with " + recording::kHiddenKey + " in its place");
  if (clock.end && *clock.end > replay.recordingEnds)
    replay.notes.push_back("--end: the recording ends at " + support::formatDateTime(replay.recordingEnds) +
                           "; the replay ends there");
  return replay;
}

std::string replayRefusal(chart_host::StudyInstance& instance) {
  if (!study_door::futuresTargetSet(instance)) return {};
  return "--replay: a Futures Target is set, and the module asks for its futures conversion itself, over the "
         "network; clear it for the replay with --set \"Futures Target=\"";
}

ReplayAnswers makeReplayAnswers(recording::Recording recording, const Clock& clock, chart_host::StudyInstance& instance) {
  auto note = [&instance](const std::string& text) { instance.log().add(text, false); };
  if (recording.header.version < recording::kFirstVersionWithCalls)
    return {std::make_shared<ReplayTransport>(recording::ReplayTimeline(std::move(recording.exchanges)), clock, note),
            nullptr};
  auto answers = std::make_shared<HandedAnswers>(std::move(recording.exchanges), note);
  auto calls = std::make_shared<RecordedCalls>(std::move(recording.calls), answers, !recording.header.simulatedClock);
  return {answers, calls};
}

}  // namespace chart_tool::replay
