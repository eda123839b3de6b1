// A chart run over a recording (tarvio-chart --replay DIR): the recorded
// run's bars, zone, inputs, span and step are the replay's defaults, and the
// recording answers the study's requests (see replay_transport.h) on the
// simulated clock, without the network. With the recorded run's inputs and
// clock a replay draws and writes exactly what the run did; display inputs
// given on the replay's own command line change only the drawing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/http_transport.h"
#include "tools/chart/command_line/run_plan.h"
#include "tools/chart/run/clock.h"
#include "tools/chart/replay/recorded_calls.h"
#include "tools/chart/run/call_span.h"
#include "tools/recording/recorded_exchange.h"

namespace chart_host { class StudyInstance; }

namespace chart_tool::replay {

using namespace chart_tool::command_line;
using namespace chart_tool::run;

// Reads the recording the plan replays and resolves the plan with it: its
// bars file (unless --bars), its zone, and its inputs, applied before
// --settings and --set. Nothing, with the one line in `error`, for a
// recording that cannot be read whole or an input it holds that is not
// NAME=VALUE.
std::optional<recording::Recording> openReplay(const RunPlan& typed, RunPlan& resolved, std::string& error);

// The calls of a replay, never past the recording's end: for a recording of
// calls, its calls up to --end; for an older recording, its span and step,
// unless --start, --end or --step choose another stretch, up to its last
// answer. With the lines to tell of it: an --end cut at the recording's end,
// a --step that does not apply, an older recording replayed by time.
struct ReplaySpan {
  CallSpan span;
  HostDateTime recordingEnds = 0;  // the last call, or the last answer of an older recording
  std::vector<std::string> notes;
};
ReplaySpan replaySpan(const ClockSettings& clock, const recording::Recording& recording);

// Why the study, with its inputs as they now are, cannot be replayed (the
// module's futures conversion would reach the network itself); empty when it
// can.
std::string replayRefusal(chart_host::StudyInstance& instance);

// What answers a replay's study: the transport, and for a recording of calls
// the calls it repeats (null for an older recording, answered by the clock's
// time). Notes go to the study's message log as the host's lines.
struct ReplayAnswers {
  std::shared_ptr<chart_host::HttpTransport> transport;
  std::shared_ptr<RecordedCalls> calls;
};
ReplayAnswers makeReplayAnswers(recording::Recording recording, const Clock& clock, chart_host::StudyInstance& instance);

}  // namespace chart_tool::replay
