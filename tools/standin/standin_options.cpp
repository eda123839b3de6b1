#include "tools/standin/standin_options.h"

#include <CLI/CLI.hpp>
#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <limits>

#include "tools/support/number_text.h"

namespace standin {

namespace {

// Why a value was refused, in words that follow the option's name.
struct Refusal {
  std::string text;
};

[[noreturn]] void refuse(const std::string& value, const std::string& wanted) {
  throw Refusal{"'" + value + "' is not " + wanted};
}

// The whole text as a number within [low, high]; NaN is never within.
template <class Number>
Number readNumber(const std::string& text, Number low, Number high, const std::string& wanted) {
  const std::optional<Number> value = support::readNumberText(text, low, high);
  if (!value) refuse(text, wanted);
  return *value;
}

// The whole text as a number of any value its type holds.
template <class Number>
bool parseNumber(const std::string& text, Number& value) {
  const std::optional<Number> read =
      support::readNumberText(text, std::numeric_limits<Number>::lowest(), std::numeric_limits<Number>::max());
  if (read) value = *read;
  return read.has_value();
}

double readSeconds(const std::string& text, bool allow_zero) {
  const char* wanted = allow_zero ? "a non-negative number of seconds" : "a positive number of seconds";
  const double seconds = readNumber(text, 0.0, 1e9, wanted);
  if (!allow_zero && seconds == 0) refuse(text, wanted);
  return seconds;
}

bool isHostName(const std::string& name) {
  return !name.empty() && name.size() <= 253 && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
  });
}

bool hasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
}

// Takes an option's value into the options, or throws a Refusal.
using Setter = std::function<void(StandinOptions&, const std::string&)>;

// Text taken as it is, refused only when empty.
Setter nonEmpty(std::string StandinOptions::*field, const char* what) {
  return [field, what](StandinOptions& o, const std::string& v) {
    if (v.empty()) throw Refusal{std::string("needs ") + what};
    o.*field = v;
  };
}

void setBarsWindow(StandinOptions& o, const std::string& v) {
  const size_t comma = v.find(',');
  int64_t from = 0, to = 0;
  if (comma == std::string::npos || !parseNumber(v.substr(0, comma), from) ||
      !parseNumber(v.substr(comma + 1), to) || from < 86400 || to <= from || to - from > 31 * 86400) {
    refuse(v, "FROM,TO in Unix seconds, FROM before TO, at most 31 days");
  }
  o.bars_from = from;
  o.bars_to = to;
}

void addReplay(StandinOptions& o, const std::string& v) {
  const size_t equals = v.find('=');
  // A folder without ENDPOINT= is a chart run's recording (an endpoint's
  // name alone is a PATH forgotten).
  if (equals == std::string::npos && !endpointFromName(v)) {
    if (!o.recording_folder.empty()) throw Refusal{"a second recording"};
    o.recording_folder = v;
    return;
  }
  const std::optional<Endpoint> endpoint =
      equals == std::string::npos ? std::nullopt : endpointFromName(v.substr(0, equals));
  if (!endpoint || equals + 1 >= v.size()) refuse(v, "ENDPOINT=PATH with ENDPOINT one of profile|history|futures");
  for (const auto& [known, path] : o.replays) {
    if (known == *endpoint) throw Refusal{std::string("a second replay for ") + endpointName(known)};
  }
  o.replays.emplace_back(*endpoint, v.substr(equals + 1));
}

// "HH:MM" or "HH:MM:SS": the replay clock's start on the recording's first day.
void setReplayFrom(StandinOptions& o, const std::string& v) {
  int hours = -1, minutes = -1, seconds = 0;
  const bool read = v.size() >= 5 && v[2] == ':' && parseNumber(v.substr(0, 2), hours) &&
                    parseNumber(v.substr(3, 2), minutes) &&
                    (v.size() == 5 || (v.size() == 8 && v[5] == ':' && parseNumber(v.substr(6, 2), seconds)));
  if (!read || hours > 23 || minutes > 59 || seconds > 59 || hours < 0 || minutes < 0 || seconds < 0)
    refuse(v, "a time of day, HH:MM or HH:MM:SS");
  o.replay_from_s_of_day = int64_t{hours} * 3600 + minutes * 60 + seconds;
}

struct ValueOption {
  const char* name;
  Setter set;
};

// Every option that takes a value, in the order of the help text.
const std::vector<ValueOption>& valueOptions() {
  using O = StandinOptions;
  using V = const std::string&;
  static const std::vector<ValueOption> options = {
      {"--address",
       [](O& o, V v) {
         if (!isLoopbackAddress(v)) refuse(v, "a loopback address (127.x.y.z or ::1)");
         o.address = v;
       }},
      {"--port", [](O& o, V v) { o.port = readNumber<uint16_t>(v, 0, 65535, "a port number (0..65535)"); }},
      {"--port-file", nonEmpty(&O::port_file, "a file name")},
      {"--max-seconds", [](O& o, V v) { o.max_seconds = readSeconds(v, false); }},
      {"--cert", nonEmpty(&O::certificate_file, "a file name")},
      {"--key", nonEmpty(&O::key_file, "a file name")},
      {"--host-name",
       [](O& o, V v) {
         if (!isHostName(v)) refuse(v, "a host name (letters, digits, '-' and '.')");
         o.host_name = v;
       }},
      {"--write-cert", nonEmpty(&O::write_certificate_file, "a file name")},
      {"--api-key",
       [](O& o, V v) {
         if (hasControlCharacter(v)) throw Refusal{"the key holds a control character"};
         o.api_key = v;
       }},
      {"--now",
       [](O& o, V v) {
         o.now = readNumber<int64_t>(v, 86400, 2147483647, "Unix seconds between 86400 and 2147483647");
       }},
      {"--advance",
       [](O& o, V v) { o.advance_seconds = readNumber<int64_t>(v, 0, 86400, "whole seconds from 0 to 86400"); }},
      {"--seed",
       [](O& o, V v) {
         o.seed = readNumber(v, uint64_t{0}, std::numeric_limits<uint64_t>::max(), "a non-negative integer");
       }},
      {"--write-bars", nonEmpty(&O::write_bars_file, "a file name")},
      {"--bars-window", setBarsWindow},
      {"--bars-ticker", nonEmpty(&O::bars_ticker, "a ticker")},
      {"--fault",
       [](O& o, V v) {
         const std::optional<FaultMode> mode = faultFromName(v);
         if (!mode) refuse(v, "one of " + faultNames());
         o.fault = *mode;
       }},
      {"--fault-rate", [](O& o, V v) { o.fault_rate = readNumber(v, 0.0, 1.0, "a probability (0..1)"); }},
      {"--fault-endpoint",
       [](O& o, V v) {
         o.fault_endpoint = endpointFromName(v);
         if (!o.fault_endpoint && v != "all") refuse(v, "one of profile|history|futures|all");
       }},
      {"--fault-requests",
       [](O& o, V v) {
         o.fault_requests = requestRunFromText(v);
         if (!o.fault_requests) refuse(v, "N or N-M, requests counted from 1 (M not below N)");
       }},
      {"--slow-seconds", [](O& o, V v) { o.slow_seconds = readSeconds(v, true); }},
      {"--replay", addReplay},
      {"--replay-from", setReplayFrom},
      {"--replay-speed",
       [](O& o, V v) {
         o.replay_speed = readNumber(v, 0.0, 10000.0, "a speed factor above 0, up to 10000");
         if (o.replay_speed <= 0) refuse(v, "a speed factor above 0, up to 10000");
       }},
      {"--record", nonEmpty(&O::record_file, "a file name")},
  };
  return options;
}

bool isValueOption(const std::string& name) {
  const std::vector<ValueOption>& options = valueOptions();
  return std::any_of(options.begin(), options.end(), [&name](const ValueOption& o) { return name == o.name; });
}

// The arguments as CLI11 takes them: last first. "--name=" is passed as the
// name and an empty value, since CLI11 would read it as the name alone and
// take the next argument for its value.
std::vector<std::string> forCli(const std::vector<std::string>& arguments) {
  std::vector<std::string> reversed;
  for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
    const std::string name = argument->substr(0, argument->find('='));
    if (name.size() + 1 == argument->size() && isValueOption(name)) {
      reversed.emplace_back();
      reversed.push_back(name);
    } else {
      reversed.push_back(*argument);
    }
  }
  return reversed;
}

// The options' checks against each other, once all are read.
std::string conflictOf(const StandinOptions& options) {
  if (!options.write_bars_file.empty() && options.bars_to == 0) return "--write-bars: needs --bars-window";
  if (options.advance_seconds != 0 && !options.now) return "--advance: needs --now";
  const bool replayClock = options.replay_from_s_of_day || options.replay_speed != 1;
  if (replayClock && options.recording_folder.empty()) return "--replay-from, --replay-speed: need --replay DIR";
  if (!options.recording_folder.empty() && !options.replays.empty())
    return "--replay DIR answers every endpoint from the recording; leave out --replay ENDPOINT=PATH";
  if (options.certificate_file.empty() != options.key_file.empty()) {
    return options.certificate_file.empty() ? "--key: needs --cert as well" : "--cert: needs --key as well";
  }
  return {};
}

}  // namespace

bool isLoopbackAddress(const std::string& address) {
  unsigned char bytes[16];
  if (inet_pton(AF_INET, address.c_str(), bytes) == 1) return bytes[0] == 127;
  if (inet_pton(AF_INET6, address.c_str(), bytes) == 1) {
    return std::all_of(bytes, bytes + 15, [](unsigned char b) { return b == 0; }) && bytes[15] == 1;
  }
  return false;
}

std::variant<StandinOptions, std::string> parseStandinOptions(const std::vector<std::string>& arguments) {
  StandinOptions options;
  CLI::App app;
  app.set_help_flag();  // the help text is standinHelp(), printed by the caller
  app.allow_extras();   // unknown options are reported below, in the stand-in's words
  app.add_flag("-h,--help", options.help)->disable_flag_override();
  for (const ValueOption& option : valueOptions()) {
    app.add_option_function<std::string>(option.name,
                                         [&options, &option](const std::string& value) {
                                           try {
                                             option.set(options, value);
                                           } catch (const Refusal& refusal) {
                                             throw CLI::ValidationError(option.name, refusal.text);
                                           }
                                         })
        ->trigger_on_parse()  // checked as read, so the first bad value is the one reported
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  try {
    app.parse(forCli(arguments));
  } catch (const CLI::ArgumentMismatch&) {
    // A value option last, with no value after it, or the help flag given one.
    if (isValueOption(arguments.back())) return arguments.back() + ": missing value";
    return "--help: takes no value";
  } catch (const CLI::Error& error) {
    return error.what();
  }
  if (!app.remaining().empty()) return "unknown option '" + app.remaining().front() + "' (see --help)";
  if (std::string conflict = conflictOf(options); !conflict.empty()) return conflict;
  return options;
}

std::string standinHelp() {
  return R"(Usage: tarvio-standin [OPTION...]

A loopback HTTPS stand-in of the options-analytics service, for tests and
demos. It answers the service's three endpoints with plausible data that
evolves with the clock, or with faults and recorded bodies on demand:
  GET  /v2/sierra/TICKER/PACKAGE/PROFILE      profile (PACKAGE classic|state;
       PROFILE full|zero|one: GEX profile; gamma|gamma_one|delta|delta_one:
       greek profile, state package only; classic with a greek word answers
       200 {"error": ...})
  POST /v2/sierra/hist/TICKER/classic/gex_full/majors/7   majors history;
       body {"start": S, "end": E} in Unix seconds (integers); one snapshot
       per whole minute from S to the earlier of E and now, at most 4320;
       a bad body or window: 400 {"error": ...}
  GET  /v2/futures/conversion?ticker=t&future=F&model=additive|affine
       {"future_contract", "multiplier", "additive"}; a missing or unknown
       value: 400 {"error": ...}
Any other path: 404 {"error":"not found"}; a wrong method: 405; a request
body over 1 MiB: 413. The host name of the request plays no part.

When ready it prints one line to standard output and flushes it:
  tarvio-standin listening on https://ADDRESS:PORT
(IPv6: https://[::1]:PORT). It runs until SIGINT or SIGTERM (exit 0) or
until --max-seconds have passed (exit 0). Each request is logged to standard
error as one line: METHOD TARGET -> STATUS fault=NAME.

Server:
  --address ADDR         loopback address to listen on: 127.x.y.z or ::1
                         (default 127.0.0.1)
  --port N               port, 0 for any free one (default 0)
  --port-file FILE       also write the port number (decimal, with a line
                         feed) to FILE once listening; written to a temporary
                         file and renamed, so it appears complete
  --max-seconds S        stop by itself after S seconds (default: never)

TLS:
  --cert FILE --key FILE PEM certificate (chain) and private key to present;
                         both or neither
                         (default: a fresh self-signed ECDSA P-256 certificate,
                         valid from yesterday for 30 days, CA:TRUE, names: the
                         host name, localhost, 127.0.0.1 and ::1)
  --host-name NAME       service host name put in the generated certificate
                         (default api.tarvio.com)
  --write-cert FILE      write the certificate in use (PEM) to FILE, for
                         clients to use as their CA file (written atomically,
                         before the ready line)

Service:
  --api-key KEY          the key requests must carry (default standin-key):
                         profile and history "Authorization: Basic KEY", the
                         futures request "Authorization: Bearer KEY", the key
                         raw (not base64). Missing or wrong: profile and history
                         answer 200 {"message": "ERROR: Invalid API Key."},
                         futures 401 {"error": "Invalid API Key."}
  --now UNIX_SECONDS     fix the clock for reproducible answers (default: the
                         real clock)
  --advance S            with --now: move the clock S seconds forward after
                         every profile answer, so a simulated chart that asks
                         every S seconds sees the levels evolve with its clock
  --seed N               seed of the price paths and of the random faults
                         (default 0)

Bars (instead of serving):
  --write-bars FILE      write one-minute bars of the ticker's spot price over
                         --bars-window as CSV (datetime,open,high,low,close,
                         volume; times in UTC, ending in Z) and exit
  --bars-window FROM,TO  Unix seconds
  --bars-ticker T        the ticker whose spot the bars follow (default ES_SPX)

Faults (for requests with a valid key to a known endpoint):
  --fault MODE           none (default), invalid-key (the refusal above),
                         error (200 {"error": "Service temporarily unavailable"}),
                         http500 (500, short text body), empty (200, no body),
                         malformed (200, JSON cut off), truncated (Content-Length
                         of the whole answer, half of it sent, connection closed),
                         nested (200, 100000 nested '[' ... ']'), slow (the answer
                         after --slow-seconds), close (chunked answer, connection
                         closed after half of it), not-found (404 {"error":
                         "not found"}), random (each request draws one of these
                         but not-found, or none)
  --fault-rate P         with random: chance that a request gets a fault
                         (default 0.3); the draws follow --seed
  --fault-endpoint E     profile|history|futures|all (default all): where
                         faults apply
  --fault-requests N-M   only the N-th to the M-th request (or the N-th
                         alone) at the endpoints faults apply to gets them,
                         counted from 1; the others are answered normally
                         (default: every request)
  --slow-seconds S       delay of the slow fault (default 12)

Replay and record:
  --replay ENDPOINT=PATH ENDPOINT profile|history|futures; PATH a file (its
                         bytes are the body of every answer, status 200) or a
                         directory (its regular files in name order, one per
                         request, the last one repeated). Loaded at start;
                         the key is still checked; a fault that replaces the
                         body does not use up a file. Repeatable, once per
                         endpoint.
  --replay DIR           answer from a chart run's recording (a folder with
                         exchanges.jsonl, from tarvio-chart --record) by its
                         recorded times: a clock of the recording's times
                         starts at its first request when the stand-in
                         starts, and a request gets the latest answer of its
                         path recorded at or before that clock's time, with
                         its status and body; a recorded failed transfer
                         closes the connection before any of its body; a path
                         with no answer by then: 404 {"error": "not in the
                         recording"}. The key is still checked; faults still
                         apply. Not with --replay ENDPOINT=PATH.
  --replay-from HH:MM[:SS]  start the replay's clock at this time of the
                         recording's first day instead
  --replay-speed F       run the replay's clock F times as fast (default 1)
  --record FILE          append one JSON line per request to FILE, flushed at
                         once: {"method": "...", "path": "/path?query" (as
                         received), "headers": [["Name", "value"], ...] (in the
                         order received), "body": "...", "fault": "none|..."}.
                         Bytes that are not UTF-8 are written as \u00XX.

  -h, --help             show this help and exit

Exit status: 0 after a clean stop; 2 for a bad option or value, or an
unusable certificate, key, replay path or record file (one line on standard
error naming it); 1 when the server cannot start (for example a port in use).
)";
}

}  // namespace standin
