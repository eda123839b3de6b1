// One chart of a run of tarvio-chart: the study placed on its chart, called
// over a span of time on the real or a simulated clock, and what it drew
// written out. This is where the rooms meet: the run plan, the clock and
// session, the features that react to every call, and the replay or
// recording, put together for one chart. No room includes it.
#pragma once

#include <string>

#include "host/module_loader.h"
#include "tools/chart/alerts/alert_command.h"
#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/live/live_view_board.h"

namespace chart_tool {

using namespace chart_tool::command_line;

// The program's exit statuses, as its help states them.
enum ExitStatus : int {
  kExitDone = 0,
  kExitOutput = 1,       // an output could not be written
  kExitUsage = 2,        // a bad command line, module, bars file or settings file
  kExitUnreachable = 3,  // the service could not be reached
  kExitHalted = 4,       // the run ended with the study's requests halted; outputs written all the same
};

// Writes "tarvio-chart: MESSAGE" as one line on standard error; returns `status`.
int reportFailure(int status, const std::string& message);

// What a chart is handed by the run it is part of.
struct ChartPart {
  std::string name;                              // on a board; empty for a run's only chart
  const chart_host::LoadedModule* module = nullptr;  // loaded once for the run
  live::LiveBoard* page = nullptr;               // where the live page shows the chart; null: no page
  alerts::AlertCommand::RunningCount* alertsRunning = nullptr;  // the run's --on-alert programs
};

// How a chart's run ended: its exit status and, when that is not 0, the
// line that told why.
struct ChartEnd {
  int status = kExitDone;
  std::string reason;
};

// Runs the options' study on its chart and writes its outputs; a failure is
// told in one line on standard error. The charts of a board run this each
// on its own thread, side by side.
ChartEnd runOneChart(const ChartOptions& options, const ChartPart& part);

}  // namespace chart_tool
