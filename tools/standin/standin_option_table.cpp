#include "tools/standin/standin_option_table.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "tools/standin/fault_schedule.h"
#include "tools/support/number_text.h"

namespace standin {

namespace {

using Setter = std::function<support::Status(StandinOptions&, const std::string&)>;
using support::Status;

Status notA(const std::string& value, const std::string& wanted) {
  return Status::failure("'" + value + "' is not " + wanted);
}

// The whole text as a number of any value its type holds.
template <class Number>
bool parseAll(const std::string& text, Number& value) {
  const std::optional<Number> read =
      support::readNumberText(text, std::numeric_limits<Number>::lowest(), std::numeric_limits<Number>::max());
  if (read) value = *read;
  return read.has_value();
}

// The whole text as a number within [low, high] into `field` (a Number or
// an optional of one); NaN is never within.
template <class Number, class Field>
Setter numberWithin(Field StandinOptions::*field, Number low, Number high, const char* wanted) {
  return [=](StandinOptions& o, const std::string& v) {
    Number value{};
    if (!parseAll(v, value) || !(value >= low && value <= high)) return notA(v, wanted);
    o.*field = value;
    return Status::success();
  };
}

// Seconds up to 1e9, zero only where `allowZero`.
template <class Field>
Setter seconds(Field StandinOptions::*field, bool allowZero) {
  return [=](StandinOptions& o, const std::string& v) {
    const char* wanted = allowZero ? "a non-negative number of seconds" : "a positive number of seconds";
    double value = 0;
    if (!parseAll(v, value) || !(value >= 0 && value <= 1e9) || (!allowZero && value == 0))
      return notA(v, wanted);
    o.*field = value;
    return Status::success();
  };
}

// Text taken as it is, refused only when empty.
Setter nonEmpty(std::string StandinOptions::*field, const char* what) {
  return [field, what](StandinOptions& o, const std::string& v) {
    if (v.empty()) return Status::failure(std::string("needs ") + what);
    o.*field = v;
    return Status::success();
  };
}

Status setEchoKey(StandinOptions& o, const std::string&) {
  o.echo_key = true;
  return Status::success();
}

Status setHelp(StandinOptions& o, const std::string&) {
  o.help = true;
  return Status::success();
}

Status setVersion(StandinOptions& o, const std::string&) {
  o.version = true;
  return Status::success();
}

Status setAddress(StandinOptions& o, const std::string& v) {
  if (!isLoopbackAddress(v)) return notA(v, "a loopback address (127.x.y.z or ::1)");
  o.address = v;
  return Status::success();
}

Status setHostName(StandinOptions& o, const std::string& v) {
  const bool isHostName = !v.empty() && v.size() <= 253 && std::all_of(v.begin(), v.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
  });
  if (!isHostName) return notA(v, "a host name (letters, digits, '-' and '.')");
  o.host_name = v;
  return Status::success();
}

Status setApiKey(StandinOptions& o, const std::string& v) {
  const bool hasControl = std::any_of(v.begin(), v.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  if (hasControl) return Status::failure("the key holds a control character");
  o.api_key = v;
  return Status::success();
}

Status setBarsWindow(StandinOptions& o, const std::string& v) {
  const size_t comma = v.find(',');
  int64_t from = 0, to = 0;
  if (comma == std::string::npos || !parseAll(v.substr(0, comma), from) ||
      !parseAll(v.substr(comma + 1), to) || from < 86400 || to <= from || to - from > 31 * 86400) {
    return notA(v, "FROM,TO in Unix seconds, FROM before TO, at most 31 days");
  }
  o.bars_from = from;
  o.bars_to = to;
  return Status::success();
}

Status setFault(StandinOptions& o, const std::string& v) {
  const std::optional<FaultMode> mode = faultFromName(v);
  if (!mode) return notA(v, "one of " + faultNames());
  o.fault = *mode;
  return Status::success();
}

Status setFaultEndpoint(StandinOptions& o, const std::string& v) {
  o.fault_endpoint = endpointFromName(v);
  if (!o.fault_endpoint && v != "all") return notA(v, "one of profile|history|futures|all");
  return Status::success();
}

Status setFaultRequests(StandinOptions& o, const std::string& v) {
  o.fault_requests = requestRunFromText(v);
  if (!o.fault_requests) return notA(v, "N or N-M, requests counted from 1 (M not below N)");
  return Status::success();
}

Status setFaultSchedule(StandinOptions& o, const std::string& v) {
  support::Result<std::vector<ScheduledFault>> schedule = faultScheduleFromText(v);
  if (!schedule) return schedule.status();
  o.fault_schedule = std::move(schedule.value());
  return Status::success();
}

Status setDelaySchedule(StandinOptions& o, const std::string& v) {
  support::Result<std::vector<ScheduledDelay>> schedule = delayScheduleFromText(v);
  if (!schedule) return schedule.status();
  o.delay_schedule = std::move(schedule.value());
  return Status::success();
}

Status addReplay(StandinOptions& o, const std::string& v) {
  const size_t equals = v.find('=');
  // A folder without ENDPOINT= is a chart run's recording (an endpoint's
  // name alone is a PATH forgotten).
  if (equals == std::string::npos && !endpointFromName(v)) {
    if (!o.recording_folder.empty()) return Status::failure("a second recording");
    o.recording_folder = v;
    return Status::success();
  }
  const std::optional<Endpoint> endpoint =
      equals == std::string::npos ? std::nullopt : endpointFromName(v.substr(0, equals));
  if (!endpoint || equals + 1 >= v.size())
    return notA(v, "ENDPOINT=PATH with ENDPOINT one of profile|history|futures");
  for (const auto& [known, path] : o.replays) {
    if (known == *endpoint) return Status::failure(std::string("a second replay for ") + endpointName(known));
  }
  o.replays.emplace_back(*endpoint, v.substr(equals + 1));
  return Status::success();
}

// "HH:MM" or "HH:MM:SS": the replay clock's start on the recording's first day.
Status setReplayFrom(StandinOptions& o, const std::string& v) {
  int hours = -1, minutes = -1, seconds = 0;
  const bool read = v.size() >= 5 && v[2] == ':' && parseAll(v.substr(0, 2), hours) &&
                    parseAll(v.substr(3, 2), minutes) &&
                    (v.size() == 5 || (v.size() == 8 && v[5] == ':' && parseAll(v.substr(6, 2), seconds)));
  if (!read || hours > 23 || minutes > 59 || seconds > 59 || hours < 0 || minutes < 0 || seconds < 0)
    return notA(v, "a time of day, HH:MM or HH:MM:SS");
  o.replay_from_s_of_day = int64_t{hours} * 3600 + minutes * 60 + seconds;
  return Status::success();
}

Status setReplaySpeed(StandinOptions& o, const std::string& v) {
  double speed = 0;
  if (!parseAll(v, speed) || !(speed > 0 && speed <= 10000.0)) return notA(v, "a speed factor above 0, up to 10000");
  o.replay_speed = speed;
  return Status::success();
}

}  // namespace

// The groups named here are declared, in the help's order, in standin_help.cpp.
const std::vector<StandinOption>& standinOptionTable() {
  static const std::vector<StandinOption> kTable = {
      {{"--address", "ADDR", "Server", "loopback address to listen on: 127.x.y.z or ::1 (default 127.0.0.1)"},
       setAddress},
      {{"--port", "N", "Server", "port, 0 for any free one (default 0)"},
       numberWithin<uint16_t>(&StandinOptions::port, 0, 65535, "a port number (0..65535)")},
      {{"--port-file", "FILE", "Server",
        "also write the port number (decimal, with a line feed) to FILE once listening; written to a temporary "
        "file and renamed, so it appears complete"},
       nonEmpty(&StandinOptions::port_file, "a file name")},
      {{"--max-seconds", "S", "Server", "stop by itself after S seconds (default: never)"},
       seconds(&StandinOptions::max_seconds, false)},

      {{"--cert", "FILE", "TLS",
        "PEM certificate (chain) to present, with its private key in --key: both or neither (default: a fresh "
        "self-signed ECDSA P-256 certificate, valid from yesterday for 30 days, CA:TRUE, names: the host "
        "name, localhost, 127.0.0.1 and ::1)"},
       nonEmpty(&StandinOptions::certificate_file, "a file name")},
      {{"--key", "FILE", "TLS", "PEM private key of the --cert certificate: both or neither"},
       nonEmpty(&StandinOptions::key_file, "a file name")},
      {{"--host-name", "NAME", "TLS", "service host name put in the generated certificate (default api.tarvio.com)"},
       setHostName},
      {{"--write-cert", "FILE", "TLS",
        "write the certificate in use (PEM) to FILE, for clients to use as their CA file (written atomically, "
        "before the ready line)"},
       nonEmpty(&StandinOptions::write_certificate_file, "a file name")},

      {{"--api-key", "KEY", "Service",
        "the key requests must carry (default standin-key): profile and history \"Authorization: Basic KEY\", "
        "the futures request \"Authorization: Bearer KEY\", the key raw (not base64). Missing or wrong: "
        "profile and history answer 200 {\"message\": \"ERROR: Invalid API Key.\"}, futures 401 {\"error\": "
        "\"Invalid API Key.\"}"},
       setApiKey},
      {{"--now", "UNIX_SECONDS", "Service", "fix the clock for reproducible answers (default: the real clock)"},
       numberWithin<int64_t>(&StandinOptions::now, 86400, 2147483647, "Unix seconds between 86400 and 2147483647")},
      {{"--advance", "S", "Service",
        "with --now: move a ticker's clock S seconds forward after every profile answer of that ticker, so a "
        "simulated chart that asks every S seconds sees the levels evolve with its clock, and charts of "
        "several tickers against one stand-in each see what they would see alone"},
       numberWithin<int64_t>(&StandinOptions::advance_seconds, 0, 86400, "whole seconds from 0 to 86400")},
      {{"--seed", "N", "Service", "seed of the price paths and of the random faults (default 0)"},
       numberWithin(&StandinOptions::seed, uint64_t{0}, std::numeric_limits<uint64_t>::max(),
                    "a non-negative integer")},

      {{"--write-bars", "FILE", "Bars",
        "write one-minute bars of the ticker's spot price over --bars-window as CSV (datetime,open,high,low,"
        "close,volume; times in UTC, ending in Z) and exit"},
       nonEmpty(&StandinOptions::write_bars_file, "a file name")},
      {{"--bars-window", "FROM,TO", "Bars", "Unix seconds"}, setBarsWindow},
      {{"--bars-ticker", "T", "Bars", "the ticker whose spot the bars follow (default ES_SPX)"},
       nonEmpty(&StandinOptions::bars_ticker, "a ticker")},

      {{"--fault", "MODE", "Faults",
        "none (default), invalid-key (the refusal above), error (200 {\"error\": \"Service temporarily "
        "unavailable\"}), http500 (500, short text body), empty (200, no body), malformed (200, JSON cut off), "
        "truncated (Content-Length of the whole answer, half of it sent, connection closed), nested (200, "
        "100000 nested '[' ... ']'), slow (the answer after --slow-seconds), close (chunked answer, connection "
        "closed after half of it), not-found (404 {\"error\": \"not found\"}), random (each request draws one "
        "of these but not-found, or none)"},
       setFault},
      {{"--fault-rate", "P", "Faults",
        "with random: chance that a request gets a fault (default 0.3); the draws follow --seed"},
       numberWithin(&StandinOptions::fault_rate, 0.0, 1.0, "a probability (0..1)")},
      {{"--fault-endpoint", "E", "Faults", "profile|history|futures|all (default all): where faults apply"},
       setFaultEndpoint},
      {{"--fault-requests", "N-M", "Faults",
        "only the N-th to the M-th request (or the N-th alone) at the endpoints faults apply to gets them, "
        "counted from 1; the others are answered normally (default: every request)"},
       setFaultRequests},
      {{"--slow-seconds", "S", "Faults", "delay of the slow fault (default 12)"},
       seconds(&StandinOptions::slow_seconds, true)},
      {{"--fault-schedule", "N[-M]:MODE,...", "Faults",
        "several faults in one run: comma-separated entries, each the N-th request (or the N-th to the M-th), "
        "counted as --fault-requests counts, and the MODE it gets, as for --fault; requests in no entry are "
        "answered normally. Runs must not overlap. Example: 3:http500,5:close,8-9:error. Not with --fault or "
        "--fault-requests; --fault-endpoint, --fault-rate (for random) and --slow-seconds apply"},
       setFaultSchedule},
      {{"--echo-key", "", "Faults",
        "the error and http500 faults quote the key the request carried (\"... for key KEY\"), as a careless "
        "service might, to check that a client keeps the key out of what it writes"},
       setEchoKey},
      {{"--delay-schedule", "N[-M]:S,...", "Faults",
        "answers sent late: comma-separated entries, each the N-th request (or the N-th to the M-th), counted "
        "as --fault-requests counts, and the seconds its answer waits (0 to 60, decimals allowed); the answer "
        "is what it would be, a fault's included, and a slow fault waits this much longer. Runs must not "
        "overlap. Example: 2:0.5,4-5:1.5. Goes with every other fault option"},
       setDelaySchedule},

      {{"--replay", "ENDPOINT=PATH|DIR", "Replay and record",
        "ENDPOINT=PATH: ENDPOINT profile|history|futures; PATH a file (its bytes are the body of every answer, "
        "status 200) or a directory (its regular files in name order, one per request, the last one "
        "repeated). Loaded at start; the key is still checked; a fault that replaces the body does not use up "
        "a file. Repeatable, once per endpoint.\n"
        "DIR: answer from a chart run's recording (a folder with exchanges.jsonl, from tarvio-chart --record) "
        "by its recorded times: a clock of the recording's times starts at its first request when the "
        "stand-in starts, and a request gets the latest answer of its path recorded at or before that clock's "
        "time, with its status and body; a recorded failed transfer closes the connection before any of its "
        "body; a path with no answer by then: 404 {\"error\": \"not in the recording\"}. The key is still "
        "checked; faults still apply. Not with --replay ENDPOINT=PATH."},
       addReplay},
      {{"--replay-from", "HH:MM[:SS]", "Replay and record",
        "start the replay's clock at this time of the recording's first day instead"},
       setReplayFrom},
      {{"--replay-speed", "F", "Replay and record", "run the replay's clock F times as fast (default 1)"},
       setReplaySpeed},
      {{"--record", "FILE", "Replay and record",
        "append one JSON line per request to FILE, flushed at once: {\"method\": \"...\", \"path\": "
        "\"/path?query\" (as received), \"headers\": [[\"Name\", \"value\"], ...] (in the order received), "
        "\"body\": \"...\", \"fault\": \"none|...\"}. Bytes that are not UTF-8 are written as \\u00XX."},
       nonEmpty(&StandinOptions::record_file, "a file name")},

      {{"-h,--help", "", "Help", "show this help and exit"}, setHelp},
      {{"--version", "", "Help", "show the program's version and exit"}, setVersion},
  };
  return kTable;
}

}  // namespace standin
