// The chart program's command line: every option's value read into the
// options, command-line order kept where it matters, and each kind of bad
// command line refused with the one line the program prints.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/command_line/option_values.h"
#include "tools/support/date_time_text.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::command_line;

namespace {

struct Accepted {
  std::vector<std::string> arguments;
  std::function<bool(const ChartOptions&)> holds;
};

TEST(ChartOptions, ReadsEveryKindOfValue) {
  const std::vector<Accepted> cases = {
      {{}, [](const ChartOptions& o) {
         return o.barSeconds == 60 && o.width == 1600 && o.height == 900 && o.progress && !o.quiet &&
                o.stepSeconds == 1 && o.tickSize == 0.25f && o.zoneText == kDefaultChartZoneText && !o.start;
       }},
      {{"--bar-seconds", "30", "--bar-count=7", "--seed", "0"},
       [](const ChartOptions& o) { return o.barSeconds == 30 && o.barCount == 7 && o.seed == 0; }},
      {{"--start-price", "0.01", "--tick-size", "1e-6", "--real-clock", "2.5"},
       [](const ChartOptions& o) { return o.startPrice == 0.01f && o.tickSize == 1e-6f && o.realClockSeconds == 2.5; }},
      {{"--start", "2026-03-02 10:15", "--end", "2026-03-02T10:20:30"},
       [](const ChartOptions& o) {
         return o.start == support::readDateTime("2026-03-02 10:15") && o.end == support::readDateTime("2026-03-02 10:20:30");
       }},
      {{"--size", "8000x150", "--service-address", "127.0.0.1:8443"},
       [](const ChartOptions& o) { return o.width == 8000 && o.height == 150 && o.serviceAddress == "127.0.0.1:8443"; }},
      {{"--quiet", "--no-progress", "--list-inputs", "-h"},
       [](const ChartOptions& o) { return o.quiet && !o.progress && o.listInputs && o.help; }},
      // A repeated option's last value wins.
      {{"--step", "5", "--step", "9", "--png", "a.png", "--png=b.png", "--status", "s.json"},
       [](const ChartOptions& o) { return o.stepSeconds == 9 && o.pngPath == "b.png" && o.statusPath == "s.json"; }},
      // Inputs apply in the order given, the key as input 1.
      {{"--set", "Ticker=SPX", "--api-key", "k", "--set", "1=other", "--set", "Note="},
       [](const ChartOptions& o) {
         return o.settings == std::vector<InputSetting>{{"Ticker", "SPX"}, {"1", "k"}, {"1", "other"}, {"Note", ""}};
       }},
      // A value may look like an option.
      {{"--module", "--bars"}, [](const ChartOptions& o) { return o.modulePath == "--bars" && o.barsPath.empty(); }},
  };
  for (const Accepted& accepted : cases) {
    ChartOptions options;
    std::string error;
    ASSERT_TRUE(parseChartOptions(accepted.arguments, options, error)) << error;
    EXPECT_TRUE(accepted.holds(options)) << testing::PrintToString(accepted.arguments);
  }
}

struct Refused {
  std::vector<std::string> arguments;
  const char* message;
};

TEST(ChartOptions, RefusesABadCommandLineInOneLine) {
  const std::vector<Refused> cases = {
      {{"--colour"}, "unknown option '--colour' (see --help)"},
      {{"chart.png"}, "unknown option 'chart.png' (see --help)"},
      {{"--bars"}, "--bars needs a value: a CSV file"},
      {{"--bars="}, "--bars takes a CSV file, not ''"},
      {{"--quiet=yes"}, "unknown option '--quiet=yes' (see --help)"},
      {{"--help=1"}, "unknown option '--help=1' (see --help)"},
      {{"--bar-seconds", "0"}, "--bar-seconds takes seconds from 1 to 86400, not '0'"},
      {{"--bar-count", "12x"}, "--bar-count takes a count from 1 to 1000000, not '12x'"},
      {{"--seed", "-1"}, "--seed takes a whole number, not '-1'"},
      {{"--start-price", "nan"}, "--start-price takes a price above 0, not 'nan'"},
      {{"--real-clock", "0.5"}, "--real-clock takes seconds, at least 1, not '0.5'"},
      {{"--size", "10x10"}, "--size takes WIDTHxHEIGHT, from 200x150 to 8000x8000, not '10x10'"},
      {{"--service-address", ":8443"}, "--service-address takes ADDRESS:PORT, e.g. 127.0.0.1:8443, not ':8443'"},
      {{"--service-address", "localhost:65536"},
       "--service-address takes ADDRESS:PORT, e.g. 127.0.0.1:8443, not 'localhost:65536'"},
      {{"--set", "=SPX"}, "--set takes NAME=VALUE, not '=SPX'"},
      {{"--api-key", ""}, "--api-key takes a key, not ''"},
      {{"--start", "2026-02-30 10:00"}, "--start takes a date and time, YYYY-MM-DD HH:MM[:SS], not '2026-02-30 10:00'"},
      {{"--csv", ""}, "--csv takes a file, not ''"},
      {{"--start", "2026-03-02 10:00", "--end", "2026-03-02 09:59"}, "--end comes before --start"},
      {{"--real-clock", "5", "--end", "2026-03-02 09:59"},
       "--real-clock runs on the real clock; leave out --start and --end"},
      {{"--bars", "b.csv", "--bar-count", "3"},
       "--bars reads bars from a file; leave out --synthetic-from and --bar-count"},
      {{"--board", "b.json", "--png", "a.png"},
       "--png writes one chart's file; with --board, --out FOLDER writes each chart's by its name"},
      {{"--board", "b.json", "--replay", "r"},
       "--replay of a board's recording replays every chart in it; leave out --board"},
  };
  for (const Refused& refused : cases) {
    ChartOptions options;
    std::string error;
    EXPECT_FALSE(parseChartOptions(refused.arguments, options, error)) << refused.message;
    EXPECT_EQ(error, refused.message);
  }
}

TEST(OptionValues, ReadOnlyWholeValuesInsideTheirRange) {
  EXPECT_FALSE(readPictureSize("1600x"));
  EXPECT_FALSE(readPictureSize("199x150"));
  EXPECT_EQ(readPictureSize("200x150")->height_px, 150);
  EXPECT_TRUE(isServiceAddress("[::1]:443"));
  EXPECT_FALSE(isServiceAddress("127.0.0.1"));
  EXPECT_EQ(readInputSetting("a=b=c"), (InputSetting{"a", "b=c"}));
}

}  // namespace
