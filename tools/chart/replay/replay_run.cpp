#include "tools/chart/replay/replay_run.h"

#include <algorithm>

#include "host/study_instance.h"
#include "tools/chart/command_line/option_values.h"
#include "tools/chart/replay/replay_transport.h"
#include "tools/chart/study_door/study_door.h"

namespace chart_tool::replay {

using namespace chart_tool::command_line;

std::optional<recording::Recording> openReplay(const RunPlan& typed, RunPlan& resolved, std::string& error) {
  const std::string& path = typed.run.replayPath;
  recording::Recording read;
  if (!recording::readRecording(path, read, error)) return std::nullopt;
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
  resolved.chart.zoneText = read.header.chartZone;
  if (resolved.chart.bars.path.empty()) resolved.chart.bars.path = read.barsPath;
  return read;
}

CallSpan replaySpan(const ClockSettings& clock, const recording::RecordingHeader& header) {
  CallSpan span;
  span.step_us = clock.stepGiven || header.stepMicroseconds <= 0 ? clock.stepSeconds * kMicrosecondsPerSecond
                                                                 : header.stepMicroseconds;
  span.first = clock.start.value_or(header.firstCall);
  span.last = std::max(clock.end.value_or(header.lastCall), span.first);
  return span;
}

std::string replayRefusal(chart_host::StudyInstance& instance) {
  if (!study_door::futuresTargetSet(instance)) return {};
  return "--replay: a Futures Target is set, and the module asks for its futures conversion itself, over the "
         "network; clear it for the replay with --set \"Futures Target=\"";
}

std::shared_ptr<chart_host::HttpTransport> makeReplayTransport(recording::Recording recording, const Clock& clock,
                                                               chart_host::StudyInstance& instance) {
  return std::make_shared<ReplayTransport>(recording::ReplayTimeline(std::move(recording.exchanges)), clock,
                                           [&instance](const std::string& note) { instance.log().add(note, false); });
}

}  // namespace chart_tool::replay
