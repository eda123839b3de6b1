#include "tools/chart/chart_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

#include "host/calendar_text.h"

namespace chart_tool {

using namespace chart_host;

namespace {

bool readWhole(const std::string& text, int64_t low, int64_t high, int64_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || parsed < low || parsed > high) return false;
  value = parsed;
  return true;
}

bool readDecimal(const std::string& text, double low, double high, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(parsed) || parsed < low || parsed > high) return false;
  value = parsed;
  return true;
}

bool readSize(const std::string& text, int32_t& width, int32_t& height) {
  const std::size_t x = text.find('x');
  int64_t w = 0, h = 0;
  if (x == std::string::npos || !readWhole(text.substr(0, x), 200, 8000, w) ||
      !readWhole(text.substr(x + 1), 150, 8000, h))
    return false;
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  return true;
}

}  // namespace

bool parseChartOptions(const std::vector<std::string>& arguments, ChartOptions& options,
                       std::string& error) {
  using Reader = std::function<bool(const std::string&)>;
  auto text = [](std::string& target) { return Reader([&target](const std::string& v) { target = v; return !v.empty(); }); };
  auto whole = [](auto& target, int64_t low, int64_t high) {
    return Reader([&target, low, high](const std::string& v) {
      int64_t value = 0;
      if (!readWhole(v, low, high, value)) return false;
      target = static_cast<std::remove_reference_t<decltype(target)>>(value);
      return true;
    });
  };
  auto decimal = [](auto& target, double low, double high) {
    return Reader([&target, low, high](const std::string& v) {
      double value = 0;
      if (!readDecimal(v, low, high, value)) return false;
      target = static_cast<std::remove_reference_t<decltype(target)>>(value);
      return true;
    });
  };
  auto when = [](std::optional<HostDateTime>& target) {
    return Reader([&target](const std::string& v) { return (target = readDateTime(v)).has_value(); });
  };
  // Each option with a value: its reader and what it takes, for the message.
  const std::map<std::string, std::pair<Reader, const char*>> valued = {
      {"--module", {text(options.modulePath), "a file"}},
      {"--bars", {text(options.barsPath), "a CSV file"}},
      {"--synthetic-from", {when(options.syntheticFrom), "a date and time, YYYY-MM-DD HH:MM"}},
      {"--bar-seconds", {whole(options.barSeconds, 1, 86400), "seconds from 1 to 86400"}},
      {"--bar-count", {whole(options.barCount, 1, 1000000), "a count from 1 to 1000000"}},
      {"--start-price", {decimal(options.startPrice, 0.01, 1e7), "a price above 0"}},
      {"--seed", {whole(options.seed, 0, INT64_MAX), "a whole number"}},
      {"--tick-size", {decimal(options.tickSize, 1e-6, 1e6), "a tick size above 0"}},
      {"--zone", {text(options.zoneText), "a zone text, e.g. EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00"}},
      {"--settings", {text(options.settingsPath), "a JSON file"}},
      {"--set", {Reader([&options](const std::string& v) {
                   const std::size_t equals = v.find('=');
                   if (equals == std::string::npos || equals == 0) return false;
                   options.settings.emplace_back(v.substr(0, equals), v.substr(equals + 1));
                   return true;
                 }),
                 "NAME=VALUE"}},
      {"--api-key", {Reader([&options](const std::string& v) {
                       options.settings.emplace_back("1", v);
                       return !v.empty();
                     }),
                     "a key"}},
      {"--start", {when(options.start), "a date and time, YYYY-MM-DD HH:MM[:SS]"}},
      {"--end", {when(options.end), "a date and time, YYYY-MM-DD HH:MM[:SS]"}},
      {"--step", {whole(options.stepSeconds, 1, 86400), "seconds from 1 to 86400"}},
      {"--real-clock", {decimal(options.realClockSeconds, 1, 7 * 86400), "seconds, at least 1"}},
      {"--service-address", {Reader([&options](const std::string& v) {
                               const std::size_t colon = v.rfind(':');
                               int64_t port = 0;
                               if (colon == std::string::npos || colon == 0 ||
                                   !readWhole(v.substr(colon + 1), 1, 65535, port))
                                 return false;
                               options.serviceAddress = v;
                               return true;
                             }),
                             "ADDRESS:PORT, e.g. 127.0.0.1:8443"}},
      {"--ca-file", {text(options.caFile), "a file of PEM certificates"}},
      {"--png", {text(options.pngPath), "a file"}},
      {"--size", {Reader([&options](const std::string& v) { return readSize(v, options.width, options.height); }),
                  "WIDTHxHEIGHT, from 200x150 to 8000x8000"}},
      {"--csv", {text(options.csvPath), "a file"}},
      {"--log", {text(options.logPath), "a file"}},
      {"--drawings", {text(options.drawingsPath), "a file"}},
      {"--trace", {text(options.tracePath), "a file"}},
  };
  const std::map<std::string, bool*> flags = {
      {"--quiet", &options.quiet},
      {"--list-inputs", &options.listInputs},
      {"--help", &options.help},
      {"-h", &options.help},
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    std::optional<std::string> value;
    const std::size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (name == "--no-progress" && !value) {
      options.progress = false;
      continue;
    }
    if (const auto flag = flags.find(name); flag != flags.end() && !value) {
      *flag->second = true;
      continue;
    }
    const auto option = valued.find(name);
    if (option == valued.end()) {
      error = "unknown option '" + arguments[i] + "' (see --help)";
      return false;
    }
    if (!value) {
      if (i + 1 >= arguments.size()) {
        error = name + " needs a value: " + option->second.second;
        return false;
      }
      value = arguments[++i];
    }
    if (!option->second.first(*value)) {
      error = name + " takes " + option->second.second + ", not '" + *value + "'";
      return false;
    }
  }
  if (options.start && options.end && *options.end < *options.start) {
    error = "--end comes before --start";
    return false;
  }
  if (options.realClockSeconds > 0 && (options.start || options.end)) {
    error = "--real-clock runs on the real clock; leave out --start and --end";
    return false;
  }
  if (!options.barsPath.empty() && (options.syntheticFrom || options.barCount != 0)) {
    error = "--bars reads bars from a file; leave out --synthetic-from and --bar-count";
    return false;
  }
  return true;
}

const char* chartOptionsHelp() {
  return R"(Usage: tarvio-chart [OPTIONS]

Runs the study module on one chart, as a charting host would, and writes what
it drew: a PNG of the chart, the study's output series, its messages and its
chart drawings.

Module and chart:
  --module PATH          study module to load (default: the one built with
                         this program)
  --bars PATH            bars from a CSV file: the platform's intraday export
                         (Date, Time, Open, High, Low, Last, Volume, ...) or
                         datetime,open,high,low,close,volume
  --synthetic-from TIME  without --bars, a random walk of bars from TIME
                         (default: 09:00 on the day of the first call)
  --bar-seconds N        length of a synthetic bar (default 60)
  --bar-count N          number of synthetic bars (default: up to the last call)
  --start-price P        first price of the random walk (default 5800)
  --seed N               seed of the random walk (default 1)
  --tick-size T          the chart's tick size (default 0.25)
  --zone TEXT            the chart's time zone as a zone text
                         (default New York: EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00)

Study inputs (applied in this order; see --list-inputs):
  --settings PATH        a JSON object of input names (or indices) and values
  --set NAME=VALUE       one input, by name (any case; a long name's first
                         words will do) or index. Lists take an option text or
                         index, colours #RRGGBB, times of day HH:MM, yes/no
                         inputs yes or no, the time zone its table index
                         (7 New York). May be repeated.
  --api-key KEY          the service key (input 1)
  --list-inputs          print every input with its index, kind and value

Clock (times are the chart's wall-clock times):
  --start TIME           first call, YYYY-MM-DD HH:MM[:SS] (default: 10:15 on
                         the last weekday before today)
  --end TIME             last call (default: 45 minutes after --start)
  --step SECONDS         time between calls (default 1). On the simulated
                         clock every answer comes on the call after its
                         request, so a run takes seconds and repeats exactly.
  --real-clock SECONDS   run on the real clock for this long instead, with
                         every bar of the chart shown from the start

Service (for a loopback stand-in or tests; the study's own requests):
  --service-address ADDRESS:PORT
                         connect there in place of the service's host; names
                         and certificate checks stay those of the service
  --ca-file PATH         trust the certificates in this PEM file as well

Outputs:
  --png PATH             the chart as a PNG picture
  --size WxH             its size in pixels (default 1600x900)
  --csv PATH             the study's output series per bar, with a name header
  --log PATH             the study's messages, also written to standard error
  --drawings PATH        the chart drawings at the end, as JSON
  --trace PATH           every graphics operation of every repaint, one JSON
                         line each
  --quiet                no messages on standard error
  --no-progress          no progress bar on a terminal
  -h, --help             this text

Exit status: 0 done, 1 an output could not be written, 2 a bad command line,
module, bars file or settings file, 3 the service could not be reached.
)";
}

}  // namespace chart_tool
