#include "tools/chart/command_line/chart_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>

#include "tools/chart/command_line/option_table.h"

namespace chart_tool::command_line {

namespace {

// Whether `names` ("-h,--help") holds `name`.
bool namesHold(const char* names, const std::string& name) {
  return ("," + std::string(names) + ",").find("," + name + ",") != std::string::npos;
}

// The parser's refusal in the program's words: an option without its value
// says what it takes, a flag given a value is an option the program does not
// know.
std::string refusal(const CLI::ParseError& failure, const std::vector<std::string>& arguments) {
  const std::string what = failure.what();
  const std::string name = what.substr(0, what.find(':'));
  for (const ChartOption& option : chartOptionTable()) {
    if (option.isFlag() || name != option.help.names) continue;
    const bool givenEmpty = std::find(arguments.begin(), arguments.end(), name + "=") != arguments.end();
    return givenEmpty ? name + " takes " + option.takes + ", not ''" : name + " needs a value: " + option.takes;
  }
  for (const std::string& argument : arguments) {
    const std::string flag = argument.substr(0, argument.find('='));
    const auto& table = chartOptionTable();
    const bool isFlag = std::any_of(table.begin(), table.end(), [&](const ChartOption& known) {
      return known.isFlag() && namesHold(known.help.names, flag);
    });
    if (isFlag && flag != argument) return "unknown option '" + argument + "' (see --help)";
  }
  return what + " (see --help)";
}

// With a board each chart writes its own files, by its name, into --out.
std::string boardRefusal(const ChartOptions& options) {
  const std::pair<const std::string*, const char*> oneChartFiles[] = {
      {&options.pngPath, "--png"},     {&options.csvPath, "--csv"},       {&options.logPath, "--log"},
      {&options.drawingsPath, "--drawings"}, {&options.tracePath, "--trace"}, {&options.statusPath, "--status"},
      {&options.framesPath, "--frames"}};
  for (const auto& [path, name] : oneChartFiles)
    if (!path->empty())
      return std::string(name) + " writes one chart's file; with --board, --out FOLDER writes each chart's by its name";
  if (options.listInputs) return "--list-inputs lists one chart's inputs; leave out --board";
  if (!options.replayPath.empty())
    return "--replay of a board's recording replays every chart in it; leave out --board";
  return {};
}

}  // namespace

bool checkOptionsTogether(const ChartOptions& options, std::string& error) {
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
  else if (!options.boardPath.empty())
    error = boardRefusal(options);
  return error.empty();
}

bool parseChartOptions(const std::vector<std::string>& arguments, ChartOptions& options,
                       std::string& error) {
  CLI::App app;
  app.set_help_flag();  // --help is an ordinary flag: the program prints its own text
  app.allow_extras();   // an unknown option is refused below, in the program's words
  std::map<const CLI::Option*, const ChartOption*> declared;
  for (const ChartOption& option : chartOptionTable()) {
    CLI::Option* added = option.isFlag() ? app.add_flag(option.help.names)->disable_flag_override()
                                         : app.add_option(option.help.names)->multi_option_policy(
                                               CLI::MultiOptionPolicy::TakeAll);
    declared[added] = &option;
  }

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
    const ChartOption& option = *declared.at(given);
    const std::string value = option.isFlag() ? std::string() : given->results().at(taken[given]++);
    if (!option.read(options, value)) {
      error = std::string(option.help.names) + " takes " + option.takes + ", not '" + value + "'";
      return false;
    }
  }
  return checkOptionsTogether(options, error);
}

}  // namespace chart_tool::command_line
