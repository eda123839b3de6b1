#include "tools/chart/command_line/option_table.h"

#include <string_view>

#include "host/picture/chart_picture.h"
#include "tools/chart/command_line/option_values.h"
#include "tools/recording/recording_bounds.h"
#include "tools/support/date_time_text.h"
#include "tools/support/number_text.h"

namespace chart_tool::command_line {

namespace {

using ValueReader = std::function<bool(ChartOptions&, const std::string&)>;

ValueReader text(std::string ChartOptions::*field) {
  return [field](ChartOptions& options, const std::string& value) {
    options.*field = value;
    return !value.empty();
  };
}

ValueReader flag(bool ChartOptions::*field, bool value) {
  return [field, value](ChartOptions& options, const std::string&) {
    options.*field = value;
    return true;
  };
}

// A number read by `read` (an optional of it), stored as the field's type.
template <typename Number, typename Read>
ValueReader number(Number ChartOptions::*field, Read read) {
  return [=](ChartOptions& options, const std::string& value) {
    const auto parsed = read(value);
    if (parsed) options.*field = static_cast<Number>(*parsed);
    return parsed.has_value();
  };
}

template <typename Number>
ValueReader whole(Number ChartOptions::*field, int64_t low, int64_t high) {
  return number(field, [=](const std::string& value) { return support::readWholeNumber(value, low, high); });
}

template <typename Number>
ValueReader decimal(Number ChartOptions::*field, double low, double high) {
  return number(field, [=](const std::string& value) { return support::readDecimalNumber(value, low, high); });
}

ValueReader when(std::optional<HostDateTime> ChartOptions::*field) {
  return [field](ChartOptions& options, const std::string& value) {
    options.*field = support::readDateTime(value);
    return (options.*field).has_value();
  };
}

bool readSetting(ChartOptions& options, const std::string& value) {
  const std::optional<InputSetting> setting = readInputSetting(value);
  if (setting) options.settings.push_back(*setting);
  return setting.has_value();
}

bool readApiKey(ChartOptions& options, const std::string& value) {
  options.settings.emplace_back("1", value);  // the service key is input 1
  return !value.empty();
}

bool readServiceAddress(ChartOptions& options, const std::string& value) {
  if (isServiceAddress(value)) options.serviceAddress = value;
  return isServiceAddress(value);
}

bool readSize(ChartOptions& options, const std::string& value) {
  const std::optional<PictureSize> size = readPictureSize(value);
  if (size) {
    options.width = size->width_px;
    options.height = size->height_px;
  }
  return size.has_value();
}

// "cross" or "near=TICKS"; the option may repeat to ask for both.
bool readAlert(ChartOptions& options, const std::string& value) {
  if (value == "cross") {
    options.alerts.cross = true;
    return true;
  }
  const std::string near = "near=";
  if (value.compare(0, near.size(), near) != 0) return false;
  const std::optional<int64_t> ticks = support::readWholeNumber(value.substr(near.size()), 1, 1000);
  if (ticks) options.alerts.nearTicks = static_cast<int32_t>(*ticks);
  return ticks.has_value();
}

// The shortest step is the one a recording's reader holds its header to, so a
// run's recording reads back; its help says "from 1".
static_assert(recording::kShortestStep_us == kMicrosecondsPerSecond);

bool readStep(ChartOptions& options, const std::string& value) {
  const std::optional<int64_t> seconds =
      support::readWholeNumber(value, recording::kShortestStep_us / kMicrosecondsPerSecond, 86400);
  if (seconds) options.stepSeconds = *seconds;
  options.stepGiven = seconds.has_value();
  return seconds.has_value();
}

bool readFrameEvery(ChartOptions& options, const std::string& value) {
  const std::optional<double> seconds = support::readDecimalNumber(value, 0, 86400);
  if (seconds && *seconds >= 0.001) options.frameEverySeconds = *seconds;
  return seconds && *seconds >= 0.001;
}

bool readAlertQuiet(ChartOptions& options, const std::string& value) {
  const std::optional<int64_t> seconds = support::readWholeNumber(value, 0, 86400);
  if (seconds) options.alerts.quiet_s = *seconds;
  return seconds.has_value();
}

bool readServe(ChartOptions& options, const std::string& value) {
  options.serve = readServeAddress(value);
  return options.serve.has_value();
}

// Helps that state a default the host keeps; the compiler holds them to it.
constexpr const char* kZoneHelp =
    "the chart's time zone: a zone's name or city, any case (America/Chicago, Chicago, London, UTC, ...), or "
    "a zone text (default New York: EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00)";
static_assert(std::string_view(kZoneHelp).find(chart_host::kDefaultChartZoneText) != std::string_view::npos);
constexpr const char* kRightSpaceHelp =
    "empty space right of the newest bar, in percent of the plot's width, so the study's profile stands "
    "beside the prices rather than over them (0 to 90, default 55; 0 puts the newest bar at the right edge). "
    "A legend at the plot's top left names each colour drawn: the profile's bars and prior dots by their "
    "colour inputs, the level series by their names";
static_assert(chart_host::kDefaultRightSpace_percent == 55 && chart_host::kMaxRightSpace_percent == 90);

// The longest run on the real clock, a week: at its shortest step its
// recording holds no more calls than a recording may.
constexpr int64_t kLongestRealClock_s = 7 * 86400;
static_assert(kLongestRealClock_s * kMicrosecondsPerSecond / recording::kShortestStep_us + 1 <=
              recording::kMostRecordedCalls);

}  // namespace

// The groups named here are declared, in the help's order, in chart_help.cpp.
const std::vector<ChartOption>& chartOptionTable() {
  static const std::vector<ChartOption> kTable = {
      {{"--module", "PATH", "Module and chart",
        "study module to load (default: the one built with this program)"},
       "a file", text(&ChartOptions::modulePath)},
      {{"--board", "FILE", "Module and chart",
        "several charts in one run, side by side, each with its own requests, ages, alerts and outputs: a JSON "
        "file listing them (see \"Board\" below). The clock, the key, the service, --serve, --record, "
        "--on-alert and --out are the whole run's; the other options of a chart are each chart's defaults"},
       "a JSON file", text(&ChartOptions::boardPath)},
      {{"--bars", "PATH", "Module and chart",
        "bars from a CSV file: the platform's intraday export (Date, Time, Open, High, Low, Last, Volume, ...) "
        "or datetime,open,high,low,close,volume. On the real clock the file is followed as another program "
        "adds to it (the newest bar as it forms, then the next)"},
       "a CSV file", text(&ChartOptions::barsPath)},
      {{"--synthetic-from", "TIME", "Module and chart",
        "without --bars, a random walk of bars from TIME (default: 09:00 on the day of the first call)"},
       "a date and time, YYYY-MM-DD HH:MM", when(&ChartOptions::syntheticFrom)},
      {{"--bar-seconds", "N", "Module and chart", "length of a synthetic bar (default 60)"},
       "seconds from 1 to 86400", whole(&ChartOptions::barSeconds, 1, 86400)},
      {{"--bar-count", "N", "Module and chart", "number of synthetic bars (default: up to the last call)"},
       "a count from 1 to 1000000", whole(&ChartOptions::barCount, 1, 1000000)},
      {{"--start-price", "P", "Module and chart", "first price of the random walk (default 5800)"},
       "a price above 0", decimal(&ChartOptions::startPrice, 0.01, 1e7)},
      {{"--seed", "N", "Module and chart", "seed of the random walk (default 1)"},
       "a whole number", whole(&ChartOptions::seed, 0, INT64_MAX)},
      {{"--tick-size", "T", "Module and chart", "the chart's tick size (default 0.25)"},
       "a tick size above 0", decimal(&ChartOptions::tickSize, 1e-6, 1e6)},
      // A zone's name is read against the module's table when the chart is set up.
      {{"--zone", "ZONE", "Module and chart", kZoneHelp},
       "a zone's name or a zone text, e.g. America/Chicago or CST-06CDT+01,M3.2.0/02:00,M11.1.0/02:00",
       text(&ChartOptions::zoneText)},

      {{"--settings", "PATH", "Study inputs", "a JSON object of input names (or indices) and values"},
       "a JSON file", text(&ChartOptions::settingsPath)},
      {{"--set", "NAME=VALUE", "Study inputs",
        "one input, by name (any case; a long name's first words will do) or index. Lists take an option "
        "text, any beginning only one option has, or its index; colours #RRGGBB, times of day HH:MM, yes/no "
        "inputs yes or no, the time zone a zone's name or city (as --zone) or its table index (7 New York). "
        "May be repeated."},
       "NAME=VALUE", readSetting},
      {{"--api-key", "KEY", "Study inputs", "the service key (input 1)"}, "a key", readApiKey},
      {{"--list-inputs", "", "Study inputs", "print every input with its index, kind and value"},
       "", flag(&ChartOptions::listInputs, true)},

      {{"--start", "TIME", "Clock",
        "first call, YYYY-MM-DD HH:MM[:SS] (default: 10:15 on the last weekday before today, or 45 minutes "
        "before an earlier --end)"},
       "a date and time, YYYY-MM-DD HH:MM[:SS]", when(&ChartOptions::start)},
      {{"--end", "TIME", "Clock", "last call (default: 45 minutes after --start)"},
       "a date and time, YYYY-MM-DD HH:MM[:SS]", when(&ChartOptions::end)},
      {{"--step", "SECONDS", "Clock",
        "time between calls (default 1). On the simulated clock every answer comes on the call after its "
        "request, so a run takes seconds and repeats exactly. It runs hours in seconds, so it only talks to "
        "a stand-in of the service: it needs --service-address."},
       "seconds from 1 to 86400", readStep},
      {{"--real-clock", "SECONDS", "Clock",
        "run on the real clock for this long instead, with every bar of the chart shown from the start; the "
        "way to watch the real service, at the study's pace."},
       "seconds, at least 1", decimal(&ChartOptions::realClockSeconds, 1, kLongestRealClock_s)},

      {{"--replay", "DIR", "Replay",
        "answer the study's requests from a recording (a folder written by --record) on the simulated clock: "
        "each request gets the recorded answer of its route (the URL's path) that was current at the clock's "
        "time, as it came then (status and body, or a failed transfer). A route with no answer by then fails "
        "as a transfer would, with a host's line once per route. The recording gives the bars (unless "
        "--bars), the zone, the span and step (unless --start, --end or --step) and the inputs, applied "
        "before --settings and --set, so display inputs may differ. With the recorded inputs and clock it "
        "writes what the run wrote. Not with --real-clock, --service-address, --zone or a Futures Target "
        "(clear it with --set \"Futures Target=\")"},
       "a recording's folder", text(&ChartOptions::replayPath)},

      {{"--service-address", "ADDRESS:PORT", "Service",
        "connect there in place of the service's host; names and certificate checks stay those of the "
        "service. With a Futures Target set, the module sends its futures conversion itself, to the "
        "service's real host; only the test build of the module (tests/test_route/ in the build folder) "
        "follows this address. A run with a target says so at its start"},
       "ADDRESS:PORT, e.g. 127.0.0.1:8443", readServiceAddress},
      {{"--ca-file", "PATH", "Service", "trust the certificates in this PEM file as well"},
       "a file of PEM certificates", text(&ChartOptions::caFile)},
      {{"--stale-after", "SECONDS", "Service",
        "levels the service dates (its own time in the answer) count as STALE once they are older than this "
        "(default 120): a service may refresh its levels less often than the study asks"},
       "seconds from 1 to 86400", whole(&ChartOptions::staleAfterSeconds, 1, 86400)},

      {{"--png", "PATH", "Outputs",
        "the chart as a PNG picture; on the real clock also replaced whole on every change of the chart, so "
        "an image viewer shows it live"},
       "a file", text(&ChartOptions::pngPath)},
      {{"--size", "WxH", "Outputs", "its size in pixels (default 1600x900)"},
       "WIDTHxHEIGHT, from 200x150 to 8000x8000", readSize},
      {{"--right-space", "PERCENT", "Outputs", kRightSpaceHelp},
       "a percentage of the plot's width from 0 to 90",
       whole(&ChartOptions::rightSpace_percent, 0, chart_host::kMaxRightSpace_percent)},
      {{"--csv", "PATH", "Outputs", "the study's output series per bar, with a name header"},
       "a file", text(&ChartOptions::csvPath)},
      {{"--log", "PATH", "Outputs", "the study's messages, also written to standard error"},
       "a file", text(&ChartOptions::logPath)},
      {{"--drawings", "PATH", "Outputs", "the chart drawings at the end, as JSON"},
       "a file", text(&ChartOptions::drawingsPath)},
      {{"--trace", "PATH", "Outputs", "every graphics operation of every repaint, one JSON line each"},
       "a file", text(&ChartOptions::tracePath)},
      {{"--status", "PATH", "Outputs",
        "the run's state as JSON, replaced whole after every call (see \"Live use\" below)"},
       "a file", text(&ChartOptions::statusPath)},
      {{"--out", "FOLDER", "Outputs",
        "write each chart's files into FOLDER by its name (a single chart's name is chart): NAME.png, NAME.csv, "
        "NAME-drawings.json, NAME-log.txt, NAME-status.json, and on the simulated clock frames under "
        "frames/NAME/. The folder is made when missing"},
       "a folder", text(&ChartOptions::outPath)},
      {{"--record", "FOLDER", "Outputs",
        "record the run: every request the study sends through the chart and the answer it got, byte for "
        "byte, with the bars and the study's inputs (see \"Recording\" below). FOLDER must be new or empty"},
       "a folder", text(&ChartOptions::recordPath)},
      {{"--serve", "ADDRESS:PORT", "Outputs",
        "a live page of the chart while the run goes on (see \"Live view\" below)"},
       "ADDRESS:PORT, e.g. 127.0.0.1:8080, localhost:0 or [::1]:8080", readServe},
      {{"--serve-public", "", "Outputs",
        "let --serve take an address beyond this machine; the page then answers to this machine's names and "
        "addresses (and loopback's), never to another's. On a loopback address it changes nothing"},
       "", flag(&ChartOptions::servePublic, true)},
      {{"--frames", "DIR", "Outputs",
        "on the simulated clock, the picture --png would draw (same --size) every --frame-every seconds of "
        "clock time: DIR/frame-000001.png, ... with the clock time of each in DIR/frames.csv (frame,time); "
        "frames of an earlier run in DIR are removed first"},
       "a folder", text(&ChartOptions::framesPath)},
      {{"--frame-every", "SECONDS", "Outputs", "clock time between frames (default 60)"},
       "seconds above 0 (at least 0.001), up to 86400", readFrameEvery},
      {{"--quiet", "", "Outputs", "no messages on standard error"}, "", flag(&ChartOptions::quiet, true)},
      {{"--no-progress", "", "Outputs", "no progress bar on a terminal"}, "", flag(&ChartOptions::progress, false)},
      {{"-h,--help", "", "Outputs", "this text"}, "", flag(&ChartOptions::help, true)},
      {{"--version", "", "Outputs", "the program's version (see the README on versions)"}, "",
       flag(&ChartOptions::version, true)},

      {{"--alert", "cross|near=TICKS", "Alerts",
        "cross: when the price crosses a level between one call and the next (\"ES_SPX 5869.25 crossed ZG "
        "5868.82 upward at 10:31:05\"); touching a level and going back is no crossing, and a level that "
        "moves over a still price (a new answer) is none either.\n"
        "near=TICKS: when the price comes within TICKS ticks (--tick-size) of a level it was not within "
        "before (\"ES_SPX 5869.75 within 4 ticks of ZG 5868.82 at 10:31:05\"). --alert may be repeated to ask "
        "for both."},
       "cross or near=TICKS (TICKS from 1 to 1000)", readAlert},
      {{"--alert-quiet", "SECONDS", "Alerts",
        "the same level, kind and direction is not alerted again within this much clock time, so a price "
        "hovering on a level alerts once each way, and a cross back is its own alert (default 300)"},
       "seconds from 0 to 86400", readAlertQuiet},
      {{"--on-alert", "PROGRAM", "Alerts",
        "start PROGRAM with the alert's text as its one argument, without a shell, and the alert's parts in "
        "its environment: TARVIO_ALERT_TEXT, _TICKER, _LEVEL, _LEVEL_PRICE, _PRICE, _KIND (cross, near), "
        "_DIRECTION (up, down), _TIME. PROGRAM is looked for on the PATH when the run starts, which stops with "
        "exit status 2 when it is not there or may not be run. The chart goes on without waiting for it, but "
        "at most 4 run at once in the whole run, a board's charts together (a further alert starts none, told "
        "once); those still running 2 s after the "
        "run are ended with all they started"},
       "a program", text(&ChartOptions::onAlertCommand)},
  };
  return kTable;
}

}  // namespace chart_tool::command_line
