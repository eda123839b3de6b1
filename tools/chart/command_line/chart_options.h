// The command line of tarvio-chart: what to load, which bars, which inputs,
// which clock, where the service is, and what to write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/chart.h"
#include "host/picture/chart_picture.h"
#include "tools/chart/alerts/alert_settings.h"
#include "tools/chart/live/live_view_address.h"
#include "tools/chart/inputs/settings_file.h"

namespace chart_tool {

using chart_host::kDefaultChartZoneText;

}  // namespace chart_tool

namespace chart_tool::command_line {

using namespace chart_tool::alerts;
using namespace chart_tool::inputs;
using namespace chart_tool::live;

struct ChartOptions {
  std::string modulePath;  // empty: the module built beside the program
  // Bars: a file, or a random walk.
  std::string barsPath;
  std::optional<HostDateTime> syntheticFrom;  // empty: 09:00 on the day of the first call
  int64_t barSeconds = 60;
  int32_t barCount = 0;  // 0: enough to reach the last call
  float startPrice = 5800.0f;
  uint64_t seed = 1;
  float tickSize = 0.25f;
  std::string zoneText = kDefaultChartZoneText;
  // Inputs, applied in order: the settings file first, then each --set.
  std::string settingsPath;
  std::vector<InputSetting> settings;
  // Clock: simulated from start to end, or the real one for a while.
  std::optional<HostDateTime> start;
  std::optional<HostDateTime> end;
  int64_t stepSeconds = 1;
  bool stepGiven = false;  // --step was given (a replay otherwise takes the recording's step)
  double realClockSeconds = 0;  // above 0: the real clock
  // Service mapping, for loopback and tests.
  std::string serviceAddress;  // ADDRESS:PORT in place of every service host
  std::string caFile;
  int64_t staleAfterSeconds = 120;  // levels older than this by the service's time are STALE
  // A recording to answer the study instead of a service (see replay_run.h).
  std::string replayPath;
  // Outputs.
  std::string pngPath;
  int32_t width = 1600;
  int32_t height = 900;
  // The empty space right of the newest bar, in percent of the plot's width.
  int32_t rightSpace_percent = chart_host::kDefaultRightSpace_percent;
  std::string csvPath;
  std::string logPath;
  std::string drawingsPath;
  std::string tracePath;
  // Alerts on the last price against the drawn levels, and the program
  // started with each (empty: none).
  AlertSettings alerts;
  std::string onAlertCommand;
  // Numbered pictures every so many clock seconds (see frames_writer.h).
  std::string framesPath;
  double frameEverySeconds = 60;
  std::string statusPath;  // rewritten after every call (see status_file.h)
  std::string recordPath;  // a folder for the run's recording (see run_recording.h)
  // Several charts in one run (see board_file.h), and the folder each
  // chart's outputs are written to, by its name.
  std::string boardPath;
  std::string outPath;
  // The live view's page (see live_view_server.h); beyond this machine only
  // with servePublic.
  std::optional<ServeAddress> serve;
  bool servePublic = false;
  bool quiet = false;        // no log lines on standard error
  bool progress = true;      // a progress bar when standard error is a terminal
  bool listInputs = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments (without the program name); false with a one-line
// reason in `error`.
bool parseChartOptions(const std::vector<std::string>& arguments, ChartOptions& options,
                       std::string& error);

// Whether options that each read well go together; false with the reason.
bool checkOptionsTogether(const ChartOptions& options, std::string& error);

// The --help text, generated from the option table.
std::string chartOptionsHelp();

}  // namespace chart_tool::command_line
