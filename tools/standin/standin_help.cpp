// The stand-in's help: what it serves, the groups its options are listed
// under, and its exit statuses. The options themselves speak in
// standin_option_table.cpp.
#include "tools/standin/standin_option_table.h"

namespace standin {

namespace {

constexpr const char* kStandinOpening = R"(A loopback HTTPS stand-in of the options-analytics service, for tests and
demos. It answers the service's three endpoints with plausible data that
evolves with the clock, or with faults and recorded bodies on demand:
  GET  /v2/sierra/TICKER/PACKAGE/PROFILE      profile (PACKAGE classic|state;
       PROFILE full|zero|one: GEX profile of all, today's or the next
       day's expiries; gamma|gamma_one|delta|delta_one: greek profile of
       today's or the next day's expiries, state package only; classic with
       a greek word answers 200 {"error": ...})
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
)";

constexpr const char* kStandinClosing = R"(Exit status: 0 after a clean stop; 2 for a bad option or value, or an
unusable certificate, key, replay path or record file (one line on standard
error naming it); 1 when the server cannot start (for example a port in use).
)";

}  // namespace

support::ProgramHelp standinProgramHelp() {
  support::ProgramHelp help{"Usage: tarvio-standin [OPTION...]", kStandinOpening, {}, {}, kStandinClosing};
  help.groups = {
      {"Server", "", ""},
      {"TLS", "", ""},
      {"Service", "", ""},
      {"Bars", "instead of serving", ""},
      {"Faults", "for requests with a valid key to a known endpoint", ""},
      {"Replay and record", "", ""},
      {"Help", "", ""},
  };
  for (const StandinOption& option : standinOptionTable()) help.options.push_back(option.help);
  return help;
}

std::string standinHelp() { return support::formatProgramHelp(standinProgramHelp()); }

}  // namespace standin
