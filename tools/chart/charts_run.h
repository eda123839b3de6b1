// A run of tarvio-chart: its one chart, or the charts of a board (--board)
// side by side, each on its own thread with its own study, requests, ages,
// alerts and outputs, sharing the module loaded once, the live page and
// standard error. No room includes it.
#pragma once

#include "tools/chart/command_line/chart_options.h"

namespace chart_tool {

// Runs the command line's chart, or every chart of its board, and writes
// their outputs. The exit status: 0 when every chart ended well, else the
// status of the first chart, in the board's order, that did not.
int runCharts(const command_line::ChartOptions& commandLine);

}  // namespace chart_tool
