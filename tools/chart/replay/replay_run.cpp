#include "tools/chart/replay/replay_run.h"

#include <algorithm>

#include "host/study_instance.h"
#include "tools/chart/command_line/option_values.h"
#include "tools/chart/replay/replay_transport.h"
#include "tools/chart/study_door/study_door.h"

namespace chart_tool::replay {

using namespace chart_tool::command_line;

std::optional<recording::Recording> openReplay(ChartOptions& options, std::string& error) {
  recording::Recording read;
  if (!recording::readRecording(options.replayPath, read, error)) return std::nullopt;
  options.recordedSettings.clear();
  for (const std::string& text : read.header.inputs) {
    const std::optional<InputSetting> setting = readInputSetting(text);
    if (!setting) {
      error = options.replayPath + ": a recorded input is not NAME=VALUE: '" + text + "'";
      return std::nullopt;
    }
    options.recordedSettings.push_back(*setting);
  }
  options.zoneText = read.header.chartZone;
  if (options.barsPath.empty()) options.barsPath = read.barsPath;
  return read;
}

CallSpan replaySpan(const ChartOptions& options, const recording::RecordingHeader& header) {
  CallSpan span;
  span.step_us = options.stepGiven || header.stepMicroseconds <= 0 ? options.stepSeconds * kMicrosecondsPerSecond
                                                                   : header.stepMicroseconds;
  span.first = options.start.value_or(header.firstCall);
  span.last = std::max(options.end.value_or(header.lastCall), span.first);
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
