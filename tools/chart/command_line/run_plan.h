// What a run of tarvio-chart does, resolved once from its command line (and,
// for a replay, from the recording) and never rewritten after: what belongs
// to the whole run (the module, the clock, the service, record or replay,
// the live page, the console) and what belongs to its chart (bars, zone,
// tick size, inputs, alerts, outputs). Each feature reads its own block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/chart.h"
#include "host/picture/chart_picture.h"
#include "tools/chart/alerts/alert_settings.h"
#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/inputs/settings_file.h"
#include "tools/chart/live/live_view_address.h"

namespace chart_tool::command_line {

using alerts::AlertsPlan;
using live::LivePageSettings;

// The chart's bars: a file, or a random walk when no file is named.
struct BarsSettings {
  std::string path;
  std::optional<HostDateTime> syntheticFrom;  // empty: 09:00 on the day of the first call
  int64_t barSeconds = 60;
  int32_t count = 0;  // 0: enough to reach the last call
  float startPrice = 5800.0f;
  uint64_t seed = 1;
  bool recordedSynthetic = false;  // a replay's bars file holds the made-up bars of the run it repeats
  // The bars are made up: no file, or the made-up ones of a recorded run.
  bool synthetic() const { return path.empty() || recordedSynthetic; }
};

// The study's inputs, applied in this order: a replay's recorded inputs, the
// settings file's, then each --set and --api-key.
struct InputsSettings {
  std::vector<InputSetting> recorded;
  std::string recordingPath;  // where the recorded ones come from, for messages
  std::string settingsPath;
  std::vector<InputSetting> typed;
};

// What the chart writes: at the end (picture, series, drawings), as it goes
// (log, trace, status, frames).
struct OutputSettings {
  std::string pngPath;
  chart_host::ChartPictureOptions picture;  // size and right space
  std::string csvPath;
  std::string logPath;
  std::string drawingsPath;
  std::string tracePath;
  std::string statusPath;
  std::string framesPath;
  double frameEverySeconds = 60;
  // A replay's window: it makes the run's calls from the first, and writes
  // frames and output rows from here on.
  std::optional<HostDateTime> from;
};

struct ChartPlan {
  BarsSettings bars;
  std::string zoneText;
  float tickSize = 0.25f;
  InputsSettings inputs;
  AlertsPlan alerts;
  OutputSettings outputs;
  int64_t staleAfterSeconds = 120;  // levels older than this by the service's own time are STALE
};

struct ClockSettings {
  std::optional<HostDateTime> start;
  std::optional<HostDateTime> end;
  int64_t stepSeconds = 1;
  bool stepGiven = false;       // a replay otherwise takes the recording's step
  double realClockSeconds = 0;  // above 0: the real clock
  bool real() const { return realClockSeconds > 0; }
};

struct ServiceSettings {
  std::string address;  // ADDRESS:PORT in place of every service host; empty: the service itself
  std::string caFile;
};

struct ConsoleSettings {
  bool quiet = false;    // no log lines on standard error
  bool progress = true;  // a progress bar when standard error is a terminal
};

struct RunSettings {
  std::string modulePath;  // empty: the module built beside the program
  ClockSettings clock;
  ServiceSettings service;
  std::string replayPath;  // a recording that answers instead of the service
  std::string recordPath;  // a folder for the run's recording
  LivePageSettings livePage;
  ConsoleSettings console;
  bool listInputs = false;
};

struct RunPlan {
  RunSettings run;
  ChartPlan chart;
};

// The command line as a plan; a replay's recording adds to it once read.
RunPlan planOf(const ChartOptions& options);

}  // namespace chart_tool::command_line
