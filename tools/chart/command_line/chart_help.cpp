// The chart program's help: what it is for, the groups its options are
// listed under, and what follows them (live use, the recording, the live
// view, exit statuses). The options themselves speak in option_table.cpp.
#include "tools/chart/command_line/option_table.h"

namespace chart_tool::command_line {

namespace {

constexpr const char* kChartOpening = R"(Runs the study module on one chart, as a charting host would, and writes what
it drew: a PNG of the chart, the study's output series, its messages and its
chart drawings.
)";

constexpr const char* kChartClosing = R"(Live use (what tells live levels from stale ones):
  The picture's title bar shows when the levels were last good and how old
  they are ("levels as of 10:20:05, 40 s ago"), with a red STALE mark when
  the study has taken no answer for three request intervals while it asks,
  or REQUESTS HALTED; a chart without levels says why across its plot ("no
  levels yet: requests start at 09:30 New York time").
  The --status file is never seen half-written. It holds: now,
  lastGoodAnswer (when the study last took a profile answer), ageSeconds,
  stale, calls, answers, historyAnswers, refusals (a status other than 200,
  or refused by the study), failedTransfers, lastHttpStatus, lastError,
  halted, haltReason, requestWindow (open or closed), notice (why the chart
  has no levels), levels (name and price of each level drawn), alerts, and
  of the picture: title, dataAge, warning (STALE or REQUESTS HALTED),
  lastPrice (the newest bar's close), tickSize and changes (how often the
  chart changed: a new answer, a new bar, an alert, a new mark or minute).
  It never holds the service key. A file that cannot be written stops the
  run at its start; a later failure to replace it is told once.
  An answer whose HTTP status is not 200 gets a line of the host's in the
  messages ("Host: the service answered HTTP 500 for PATH: BODY..."), once
  each time the status changes, as the study sees only the body. A failed
  or cut-short answer is asked for again at the study's next interval.
  A run ends with a summary on standard error (not with --quiet): calls,
  answers, refused answers and failed transfers by kind, the last good
  answer, whether requests were halted, and the files written.

Board: several charts in one run, with --board FILE:
  {"charts": [{"name": "ES", "set": ["Ticker=ES_SPX"]},
              {"name": "NQ", "set": ["Ticker=NQ_NDX"], "bars": "nq.csv"}]}
  Each chart has a name (1 to 32 letters, digits, _ or -, unique in any
  case) and, as it needs, bars (a file; without one, made-up bars from
  startPrice and seed), zone, tickSize, settings (a file), set (a list,
  applied after --set) and alerts (a list, in place of --alert); paths are
  taken from the board file's folder. Each chart is its own study on its own
  chart, with its own requests, ages and alerts, and runs beside the others,
  so a call one chart holds up (a futures conversion) holds up no other. A
  chart that fails is told, and shown as failed, while the others go on; its
  lines on standard error begin with its name. --out FOLDER writes each
  chart's files by its name; --record FOLDER keeps the board file
  (FOLDER/board.json) and one recording per chart (FOLDER/NAME/), and
  --replay FOLDER replays every chart of it. A bad board file ends the run
  at its start with one line naming the chart and the field. The exit status
  is 0 when every chart ended well, else that of the first chart, in the
  board's order, that did not.

Recording (--record FOLDER, on either clock):
  FOLDER/exchanges.jsonl holds one JSON line on the run (version, the chart's
  zone, the clock, the span and step, the inputs as --set takes them), then
  one line per exchange as its answer arrives: its number, when it was
  requested and answered (chart time to the microsecond; on the simulated
  clock an answer's time is the call after its request), the endpoint,
  method, URL, route, request body and headers, whether the answer was
  delivered, its status or error, and its body's file, size and checksum.
  FOLDER/bodies/ holds each answer's body as received; FOLDER/bars.csv the
  chart's bars (a --bars file), replaced when they change. The service key is
  never written: its header reads "<API KEY>". A run killed at any moment
  leaves a recording readable up to its last whole exchange. The module's
  futures conversion goes through its own HTTPS client, not the chart: it is
  not recorded (a run with a Futures Target says so at its start). A folder
  that cannot be made stops the run at its start (exit status 1); a later
  failure to write is told once, the run goes on unrecorded and its summary
  says at which exchange the recording stops.

Live view (Linux build; a page to keep open in a browser):
  --serve 127.0.0.1:8080 serves the chart at http://127.0.0.1:8080/ while the
  run goes on (localhost:PORT and [::1]:PORT too; port 0 takes a free port),
  and one line on standard error gives the page's address, even with --quiet.
  The page shows the picture, swapped for the new one on every change of
  the chart without a reload, and beside it the levels drawn with their
  distance from the last price in points and ticks, the age of the levels,
  STALE or REQUESTS HALTED, and the latest alerts. /status.json is the
  --status JSON (kept in memory without --status), /chart.png the latest
  picture (the page asks for it at the size it shows it). The page has no
  password: an address beyond this machine (e.g. 0.0.0.0:8080) is refused
  unless --serve-public is given too, and only this machine's own names are
  answered in a request's Host. A port in use ends the run at its start with
  exit status 1. The page stops with the run.

Exit status: 0 done, 1 an output could not be written (the --serve port in
use among them), 2 a bad command line (the simulated clock without
--service-address or --replay among them), module, bars file, settings file
or recording, 3 the service could not be reached (no name, no connection or
no trusted TLS handshake on 3 requests in a row, and never an answer),
4 the run ended with the study's requests halted (a refused key, or a
setting that cannot go into a request): one line names why, even with
--quiet; the outputs are written in full all the same.
)";

}  // namespace

support::ProgramHelp chartProgramHelp() {
  support::ProgramHelp help{"Usage: tarvio-chart [OPTIONS]", kChartOpening, {}, {}, kChartClosing};
  help.groups = {
      {"Module and chart", "", ""},
      {"Study inputs", "applied in this order; see --list-inputs", ""},
      {"Clock", "times are the chart's wall-clock times",
       "Ctrl-C (or a request to terminate) ends a run at once with one last call: its outputs are written and "
       "its summary printed; a second Ctrl-C ends the program there and then."},
      {"Replay", "a recorded run again, without the network", ""},
      {"Service", "for a loopback stand-in or tests; the study's own requests", ""},
      {"Outputs", "", ""},
      {"Alerts",
       "the last price, the newest bar's close, against the levels the study drew, after every call; each "
       "alert is a line of the log marked ALERT Host:",
       ""},
  };
  for (const ChartOption& option : chartOptionTable()) help.options.push_back(option.help);
  return help;
}

std::string chartOptionsHelp() { return support::formatProgramHelp(chartProgramHelp()); }

}  // namespace chart_tool::command_line
