#include "tools/chart/chart_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <map>

#include "tools/chart/option_values.h"
#include "tools/support/date_time_text.h"
#include "tools/support/number_text.h"

namespace chart_tool {

namespace {

// Reads an option's value into the options; false when it is not a value the
// option takes.
using ValueReader = std::function<bool(ChartOptions&, const std::string&)>;

struct ValuedOption {
  const char* name;
  const char* takes;  // what the value must be, for the message that refuses one
  ValueReader read;
};

struct FlagOption {
  const char* names;
  bool ChartOptions::*field;
  bool value;
};

ValueReader text(std::string ChartOptions::*field) {
  return [field](ChartOptions& options, const std::string& value) {
    options.*field = value;
    return !value.empty();
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

bool readStep(ChartOptions& options, const std::string& value) {
  const std::optional<int64_t> seconds = support::readWholeNumber(value, 1, 86400);
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

const std::vector<ValuedOption>& valuedOptions() {
  static const std::vector<ValuedOption> kOptions = {
      {"--module", "a file", text(&ChartOptions::modulePath)},
      {"--bars", "a CSV file", text(&ChartOptions::barsPath)},
      {"--synthetic-from", "a date and time, YYYY-MM-DD HH:MM", when(&ChartOptions::syntheticFrom)},
      {"--bar-seconds", "seconds from 1 to 86400", whole(&ChartOptions::barSeconds, 1, 86400)},
      {"--bar-count", "a count from 1 to 1000000", whole(&ChartOptions::barCount, 1, 1000000)},
      {"--start-price", "a price above 0", decimal(&ChartOptions::startPrice, 0.01, 1e7)},
      {"--seed", "a whole number", whole(&ChartOptions::seed, 0, INT64_MAX)},
      {"--tick-size", "a tick size above 0", decimal(&ChartOptions::tickSize, 1e-6, 1e6)},
      // A zone's name is read against the module's table when the chart is set up.
      {"--zone", "a zone's name or a zone text, e.g. America/Chicago or CST-06CDT+01,M3.2.0/02:00,M11.1.0/02:00",
       text(&ChartOptions::zoneText)},
      {"--settings", "a JSON file", text(&ChartOptions::settingsPath)},
      {"--set", "NAME=VALUE", readSetting},
      {"--api-key", "a key", readApiKey},
      {"--start", "a date and time, YYYY-MM-DD HH:MM[:SS]", when(&ChartOptions::start)},
      {"--end", "a date and time, YYYY-MM-DD HH:MM[:SS]", when(&ChartOptions::end)},
      {"--step", "seconds from 1 to 86400", readStep},
      {"--real-clock", "seconds, at least 1", decimal(&ChartOptions::realClockSeconds, 1, 7 * 86400)},
      {"--service-address", "ADDRESS:PORT, e.g. 127.0.0.1:8443", readServiceAddress},
      {"--ca-file", "a file of PEM certificates", text(&ChartOptions::caFile)},
      {"--replay", "a recording's folder", text(&ChartOptions::replayPath)},
      {"--png", "a file", text(&ChartOptions::pngPath)},
      {"--size", "WIDTHxHEIGHT, from 200x150 to 8000x8000", readSize},
      {"--right-space", "a percentage of the plot's width from 0 to 90",
       whole(&ChartOptions::rightSpace_percent, 0, chart_host::kMaxRightSpace_percent)},
      {"--csv", "a file", text(&ChartOptions::csvPath)},
      {"--log", "a file", text(&ChartOptions::logPath)},
      {"--drawings", "a file", text(&ChartOptions::drawingsPath)},
      {"--trace", "a file", text(&ChartOptions::tracePath)},
      {"--frames", "a folder", text(&ChartOptions::framesPath)},
      {"--frame-every", "seconds above 0 (at least 0.001), up to 86400", readFrameEvery},
      {"--alert", "cross or near=TICKS (TICKS from 1 to 1000)", readAlert},
      {"--alert-quiet", "seconds from 0 to 86400", readAlertQuiet},
      {"--on-alert", "a program", text(&ChartOptions::onAlertCommand)},
      {"--status", "a file", text(&ChartOptions::statusPath)},
      {"--record", "a folder", text(&ChartOptions::recordPath)},
      {"--serve", "ADDRESS:PORT, e.g. 127.0.0.1:8080, localhost:0 or [::1]:8080", readServe},
  };
  return kOptions;
}

constexpr FlagOption kFlags[] = {
    {"--quiet", &ChartOptions::quiet, true},
    {"--no-progress", &ChartOptions::progress, false},
    {"--list-inputs", &ChartOptions::listInputs, true},
    {"--serve-public", &ChartOptions::servePublic, true},
    {"-h,--help", &ChartOptions::help, true},
};

// The parser's refusal in the program's words: an option without its value
// says what it takes, a flag given a value is an option the program does not
// know.
std::string refusal(const CLI::ParseError& failure, const std::vector<std::string>& arguments) {
  const std::string what = failure.what();
  const std::string name = what.substr(0, what.find(':'));
  for (const ValuedOption& option : valuedOptions()) {
    if (name != option.name) continue;
    const bool givenEmpty = std::find(arguments.begin(), arguments.end(), name + "=") != arguments.end();
    return givenEmpty ? name + " takes " + option.takes + ", not ''" : name + " needs a value: " + option.takes;
  }
  for (const std::string& argument : arguments) {
    const std::string flag = argument.substr(0, argument.find('='));
    const bool isFlag = std::any_of(std::begin(kFlags), std::end(kFlags), [&](const FlagOption& known) {
      return ("," + std::string(known.names) + ",").find("," + flag + ",") != std::string::npos;
    });
    if (isFlag && flag != argument) return "unknown option '" + argument + "' (see --help)";
  }
  return what + " (see --help)";
}

// Options that each read well but do not go together.
bool checkTogether(const ChartOptions& options, std::string& error) {
  if (options.start && options.end && *options.end < *options.start)
    error = "--end comes before --start";
  else if (options.realClockSeconds > 0 && (options.start || options.end))
    error = "--real-clock runs on the real clock; leave out --start and --end";
  else if (!options.barsPath.empty() && (options.syntheticFrom || options.barCount != 0))
    error = "--bars reads bars from a file; leave out --synthetic-from and --bar-count";
  else if (!options.replayPath.empty() && options.realClockSeconds > 0)
    error = "--replay runs the recording on the simulated clock; leave out --real-clock";
  else if (!options.replayPath.empty() && !options.serviceAddress.empty())
    error = "--replay answers from the recording, without the network; leave out --service-address";
  else if (!options.replayPath.empty() && options.zoneText != kDefaultChartZoneText)
    error = "--replay runs in the recording's zone, as its times are; leave out --zone";
  else if (!options.framesPath.empty() && options.realClockSeconds > 0)
    error = "--frames draws a simulated run (--replay, or --start and --end against a stand-in) at chosen clock "
            "times; on the real clock they would come at the study's pace for as long as the run lasts: use --png";
  else if (!options.onAlertCommand.empty() && !options.alerts.any())
    error = "--on-alert runs a program on alerts: give --alert cross or --alert near=TICKS too";
  else if (options.serve && !options.serve->loopback && !options.servePublic)
    error = "--serve " + options.serve->host + " is not a loopback address: the page shows the levels and alerts, "
            "without a password, to anyone who can reach the port; add --serve-public to serve it there all the same";
  else if (options.servePublic && !options.serve)
    error = "--serve-public goes with --serve ADDRESS:PORT";
  return error.empty();
}

}  // namespace

bool parseChartOptions(const std::vector<std::string>& arguments, ChartOptions& options,
                       std::string& error) {
  CLI::App app;
  app.set_help_flag();  // --help is an ordinary flag: the program prints its own text
  app.allow_extras();   // an unknown option is refused below, in the program's words
  std::map<const CLI::Option*, const ValuedOption*> valued;
  for (const ValuedOption& option : valuedOptions())
    valued[app.add_option(option.name)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)] = &option;
  std::map<const CLI::Option*, const FlagOption*> flags;
  for (const FlagOption& flag : kFlags) flags[app.add_flag(flag.names)->disable_flag_override()] = &flag;

  std::vector<std::string> lastFirst(arguments.rbegin(), arguments.rend());
  try {
    app.parse(lastFirst);
  } catch (const CLI::ParseError& failure) {
    error = refusal(failure, arguments);
    return false;
  }
  if (!app.remaining().empty()) {
    error = "unknown option '" + app.remaining().front() + "' (see --help)";
    return false;
  }
  // Values are read in command-line order: a repeated option's last value
  // wins, and --set and --api-key apply in the order they were given.
  std::map<const CLI::Option*, std::size_t> taken;
  for (const CLI::Option* given : app.parse_order()) {
    if (const auto flag = flags.find(given); flag != flags.end()) {
      options.*(flag->second->field) = flag->second->value;
      continue;
    }
    const ValuedOption& option = *valued.at(given);
    const std::string& value = given->results().at(taken[given]++);
    if (!option.read(options, value)) {
      error = std::string(option.name) + " takes " + option.takes + ", not '" + value + "'";
      return false;
    }
  }
  return checkTogether(options, error);
}

}  // namespace chart_tool
