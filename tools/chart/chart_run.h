// One run of tarvio-chart: the study placed on a chart, called over a span
// of time on the real or a simulated clock, and what it drew written out.
// This is where the rooms meet: the run plan, the clock and session, the
// features that react to every call, and the replay or recording, put
// together for one run. No room includes it.
#pragma once

#include <string>

#include "tools/chart/command_line/chart_options.h"

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

// Runs the options' study on one chart and writes its outputs; a failure is
// told in one line on standard error. The exit status.
int runChart(const ChartOptions& options);

}  // namespace chart_tool
