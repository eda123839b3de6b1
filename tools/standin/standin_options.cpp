#include "tools/standin/standin_options.h"

#include <arpa/inet.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace standin {

namespace {

using Problem = std::string;  // empty: the value was taken

template <class Number>
bool parseNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && ptr == end && !text.empty();
}

Problem takeSeconds(const std::string& text, double& seconds, bool allow_zero) {
  double value = 0;
  if (!parseNumber(text, value) || !std::isfinite(value) || value < 0 || (!allow_zero && value == 0) ||
      value > 1e9) {
    return "'" + text + "' is not a " + (allow_zero ? "non-negative" : "positive") + " number of seconds";
  }
  seconds = value;
  return {};
}

bool isHostName(const std::string& name) {
  if (name.empty() || name.size() > 253) return false;
  for (const char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') return false;
  }
  return true;
}

using Setter = std::function<Problem(StandinOptions&, const std::string&)>;

const std::map<std::string, Setter>& valueOptions() {
  static const std::map<std::string, Setter> options = {
      {"--address",
       [](StandinOptions& o, const std::string& v) -> Problem {
         if (!isLoopbackAddress(v)) return "'" + v + "' is not a loopback address (127.x.y.z or ::1)";
         o.address = v;
         return {};
       }},
      {"--port",
       [](StandinOptions& o, const std::string& v) -> Problem {
         uint16_t port = 0;
         if (!parseNumber(v, port)) return "'" + v + "' is not a port number (0..65535)";
         o.port = port;
         return {};
       }},
      {"--port-file", [](StandinOptions& o, const std::string& v) -> Problem { return (o.port_file = v).empty() ? "needs a file name" : ""; }},
      {"--max-seconds",
       [](StandinOptions& o, const std::string& v) -> Problem {
         double seconds = 0;
         Problem problem = takeSeconds(v, seconds, false);
         if (problem.empty()) o.max_seconds = seconds;
         return problem;
       }},
      {"--cert", [](StandinOptions& o, const std::string& v) -> Problem { return (o.certificate_file = v).empty() ? "needs a file name" : ""; }},
      {"--key", [](StandinOptions& o, const std::string& v) -> Problem { return (o.key_file = v).empty() ? "needs a file name" : ""; }},
      {"--write-cert", [](StandinOptions& o, const std::string& v) -> Problem { return (o.write_certificate_file = v).empty() ? "needs a file name" : ""; }},
      {"--host-name",
       [](StandinOptions& o, const std::string& v) -> Problem {
         if (!isHostName(v)) return "'" + v + "' is not a host name (letters, digits, '-' and '.')";
         o.host_name = v;
         return {};
       }},
      {"--api-key",
       [](StandinOptions& o, const std::string& v) -> Problem {
         for (const char c : v) {
           if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "the key holds a control character";
         }
         o.api_key = v;
         return {};
       }},
      {"--now",
       [](StandinOptions& o, const std::string& v) -> Problem {
         int64_t now = 0;
         if (!parseNumber(v, now) || now < 86400 || now > 2147483647) {
           return "'" + v + "' is not Unix seconds between 86400 and 2147483647";
         }
         o.now = now;
         return {};
       }},
      {"--advance",
       [](StandinOptions& o, const std::string& v) -> Problem {
         if (!parseNumber(v, o.advance_seconds) || o.advance_seconds < 0 || o.advance_seconds > 86400) {
           return "'" + v + "' is not whole seconds from 0 to 86400";
         }
         return {};
       }},
      {"--write-bars", [](StandinOptions& o, const std::string& v) -> Problem { return (o.write_bars_file = v).empty() ? "needs a file name" : ""; }},
      {"--bars-window",
       [](StandinOptions& o, const std::string& v) -> Problem {
         const size_t comma = v.find(',');
         if (comma == std::string::npos || !parseNumber(v.substr(0, comma), o.bars_from) ||
             !parseNumber(v.substr(comma + 1), o.bars_to) || o.bars_from < 86400 || o.bars_to <= o.bars_from ||
             o.bars_to - o.bars_from > 31 * 86400) {
           return "'" + v + "' is not FROM,TO in Unix seconds, FROM before TO, at most 31 days";
         }
         return {};
       }},
      {"--bars-ticker",
       [](StandinOptions& o, const std::string& v) -> Problem { return (o.bars_ticker = v).empty() ? "needs a ticker" : ""; }},
      {"--seed",
       [](StandinOptions& o, const std::string& v) -> Problem {
         if (!parseNumber(v, o.seed)) return "'" + v + "' is not a non-negative integer";
         return {};
       }},
      {"--fault",
       [](StandinOptions& o, const std::string& v) -> Problem {
         const std::optional<FaultMode> mode = faultFromName(v);
         if (!mode) return "'" + v + "' is not one of " + faultNames();
         o.fault = *mode;
         return {};
       }},
      {"--fault-rate",
       [](StandinOptions& o, const std::string& v) -> Problem {
         double rate = 0;
         if (!parseNumber(v, rate) || !(rate >= 0 && rate <= 1)) return "'" + v + "' is not a probability (0..1)";
         o.fault_rate = rate;
         return {};
       }},
      {"--fault-endpoint",
       [](StandinOptions& o, const std::string& v) -> Problem {
         if (v == "all") {
           o.fault_endpoint.reset();
           return {};
         }
         o.fault_endpoint = endpointFromName(v);
         return o.fault_endpoint ? "" : "'" + v + "' is not one of profile|history|futures|all";
       }},
      {"--slow-seconds",
       [](StandinOptions& o, const std::string& v) -> Problem { return takeSeconds(v, o.slow_seconds, true); }},
      {"--replay",
       [](StandinOptions& o, const std::string& v) -> Problem {
         const size_t equals = v.find('=');
         const std::optional<Endpoint> endpoint =
             equals == std::string::npos ? std::nullopt : endpointFromName(v.substr(0, equals));
         if (!endpoint || equals + 1 >= v.size()) {
           return "'" + v + "' is not ENDPOINT=PATH with ENDPOINT one of profile|history|futures";
         }
         for (const auto& [known, path] : o.replays) {
           if (known == *endpoint) return std::string("a second replay for ") + endpointName(known);
         }
         o.replays.emplace_back(*endpoint, v.substr(equals + 1));
         return {};
       }},
      {"--record", [](StandinOptions& o, const std::string& v) -> Problem { return (o.record_file = v).empty() ? "needs a file name" : ""; }},
  };
  return options;
}

}  // namespace

bool isLoopbackAddress(const std::string& address) {
  unsigned char bytes[16];
  if (inet_pton(AF_INET, address.c_str(), bytes) == 1) return bytes[0] == 127;
  if (inet_pton(AF_INET6, address.c_str(), bytes) == 1) {
    for (int i = 0; i < 15; ++i) {
      if (bytes[i] != 0) return false;
    }
    return bytes[15] == 1;
  }
  return false;
}

std::variant<StandinOptions, std::string> parseStandinOptions(const std::vector<std::string>& arguments) {
  StandinOptions options;
  const auto& known = valueOptions();
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      continue;
    }
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const auto option = known.find(name);
    if (option == known.end()) return "unknown option '" + argument + "' (see --help)";
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return name + ": missing value";
    }
    if (Problem problem = option->second(options, value); !problem.empty()) return name + ": " + problem;
  }
  if (!options.write_bars_file.empty() && options.bars_to == 0) return "--write-bars: needs --bars-window";
  if (options.advance_seconds != 0 && !options.now) return "--advance: needs --now";
  if (options.certificate_file.empty() != options.key_file.empty()) {
    return options.certificate_file.empty() ? "--key: needs --cert as well" : "--cert: needs --key as well";
  }
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
  --slow-seconds S       delay of the slow fault (default 12)

Replay and record:
  --replay ENDPOINT=PATH ENDPOINT profile|history|futures; PATH a file (its
                         bytes are the body of every answer, status 200) or a
                         directory (its regular files in name order, one per
                         request, the last one repeated). Loaded at start;
                         the key is still checked; a fault that replaces the
                         body does not use up a file. Repeatable, once per
                         endpoint.
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
