// tarvio-chart: runs a study module on one chart, as a charting host would,
// and writes what it drew. Its logic is the library beside this file; here
// the command line becomes a run and the run an exit status.
#include <iostream>
#include <string>
#include <vector>

#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/chart_run.h"
#include "tools/chart/charts_run.h"
#include "tools/support/product_version.h"

int main(int argc, char** argv) {
  using namespace chart_tool::command_line;
  using namespace chart_tool;
  ChartOptions options;
  std::string error;
  if (!parseChartOptions(std::vector<std::string>(argv + 1, argv + argc), options, error))
    return reportFailure(kExitUsage, error);
  if (options.help) {
    std::cout << chartOptionsHelp();
    return kExitDone;
  }
  if (options.version) {
    std::cout << support::versionLine("tarvio-chart");
    return kExitDone;
  }
  return runCharts(options);
}
