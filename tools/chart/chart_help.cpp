// The text tarvio-chart prints for --help; the README shows the same options.
#include "tools/chart/chart_options.h"

namespace chart_tool {

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
                         datetime,open,high,low,close,volume. On the real
                         clock the file is followed as another program adds
                         to it (the newest bar as it forms, then the next)
  --synthetic-from TIME  without --bars, a random walk of bars from TIME
                         (default: 09:00 on the day of the first call)
  --bar-seconds N        length of a synthetic bar (default 60)
  --bar-count N          number of synthetic bars (default: up to the last call)
  --start-price P        first price of the random walk (default 5800)
  --seed N               seed of the random walk (default 1)
  --tick-size T          the chart's tick size (default 0.25)
  --zone ZONE            the chart's time zone: a zone's name or city, any
                         case (America/Chicago, Chicago, London, UTC, ...), or
                         a zone text
                         (default New York: EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00)

Study inputs (applied in this order; see --list-inputs):
  --settings PATH        a JSON object of input names (or indices) and values
  --set NAME=VALUE       one input, by name (any case; a long name's first
                         words will do) or index. Lists take an option text,
                         any beginning only one option has, or its index;
                         colours #RRGGBB, times of day HH:MM, yes/no inputs yes
                         or no, the time zone a zone's name or city (as
                         --zone) or its table index (7 New York). May be
                         repeated.
  --api-key KEY          the service key (input 1)
  --list-inputs          print every input with its index, kind and value

Clock (times are the chart's wall-clock times):
  --start TIME           first call, YYYY-MM-DD HH:MM[:SS] (default: 10:15 on
                         the last weekday before today, or 45 minutes before
                         an earlier --end)
  --end TIME             last call (default: 45 minutes after --start)
  --step SECONDS         time between calls (default 1). On the simulated
                         clock every answer comes on the call after its
                         request, so a run takes seconds and repeats exactly.
                         It runs hours in seconds, so it only talks to a
                         stand-in of the service: it needs --service-address.
  --real-clock SECONDS   run on the real clock for this long instead, with
                         every bar of the chart shown from the start; the
                         way to watch the real service, at the study's pace.
  Ctrl-C (or a request to terminate) ends a run at once with one last call:
  its outputs are written and its summary printed; a second Ctrl-C ends the
  program there and then.

Replay (a recorded run again, without the network):
  --replay DIR           answer the study's requests from a recording (a
                         folder written by --record) on the simulated clock:
                         each request gets the recorded answer of its route
                         (the URL's path) that was current at the clock's
                         time, as it came then (status and body, or a failed
                         transfer). A route with no answer by then fails as
                         a transfer would, with a host's line once per route.
                         The recording gives the bars (unless --bars), the
                         zone, the span and step (unless --start, --end or
                         --step) and the inputs, applied before --settings
                         and --set, so display inputs may differ. With the
                         recorded inputs and clock it writes what the run
                         wrote. Not with --real-clock, --service-address,
                         --zone or a Futures Target (clear it with
                         --set "Futures Target=")

Service (for a loopback stand-in or tests; the study's own requests):
  --service-address ADDRESS:PORT
                         connect there in place of the service's host; names
                         and certificate checks stay those of the service.
                         With a Futures Target set, the module sends its
                         futures conversion itself, to the service's real
                         host; only the test build of the module
                         (tests/test_route/ in the build folder) follows this
                         address. A run with a target says so at its start
  --ca-file PATH         trust the certificates in this PEM file as well

Outputs:
  --png PATH             the chart as a PNG picture; on the real clock also
                         replaced whole on every change of the chart, so an
                         image viewer shows it live
  --size WxH             its size in pixels (default 1600x900)
  --right-space PERCENT  empty space right of the newest bar, in percent of
                         the plot's width, so the study's profile stands
                         beside the prices rather than over them (0 to 90,
                         default 55; 0 puts the newest bar at the right edge).
                         A legend at the plot's top left names each colour
                         drawn: the profile's bars and prior dots by their
                         colour inputs, the level series by their names
  --csv PATH             the study's output series per bar, with a name header
  --log PATH             the study's messages, also written to standard error
  --drawings PATH        the chart drawings at the end, as JSON
  --trace PATH           every graphics operation of every repaint, one JSON
                         line each
  --status PATH          the run's state as JSON, replaced whole after every
                         call (see "Live use" below)
  --record FOLDER        record the run: every request the study sends
                         through the chart and the answer it got, byte for
                         byte, with the bars and the study's inputs (see
                         "Recording" below). FOLDER must be new or empty
  --serve ADDRESS:PORT   a live page of the chart while the run goes on (see
                         "Live view" below)
  --serve-public         let --serve take an address beyond this machine
  --frames DIR           on the simulated clock, the picture --png would draw
                         (same --size) every --frame-every seconds of clock
                         time: DIR/frame-000001.png, ... with the clock time of
                         each in DIR/frames.csv (frame,time); frames of an
                         earlier run in DIR are removed first
  --frame-every SECONDS  clock time between frames (default 60)
  --quiet                no messages on standard error
  --no-progress          no progress bar on a terminal
  -h, --help             this text

Live use (what tells live levels from stale ones):
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
  picture. The page has no password: an address beyond this machine (e.g.
  0.0.0.0:8080) is refused unless --serve-public is given too. A port in use
  ends the run at its start with exit status 1. The page stops with the run.

Alerts (the last price, the newest bar's close, against the levels the study
drew, after every call; each alert is a line of the log marked ALERT Host:):
  --alert cross          when the price crosses a level between one call and
                         the next ("ES_SPX 5869.25 crossed ZG 5868.82 upward
                         at 10:31:05"); touching a level and going back is no
                         crossing, and a level that moves over a still price
                         (a new answer) is none either
  --alert near=TICKS     when the price comes within TICKS ticks (--tick-size)
                         of a level it was not within before ("ES_SPX 5869.75
                         within 4 ticks of ZG 5868.82 at 10:31:05"). --alert
                         may be repeated to ask for both.
  --alert-quiet SECONDS  the same level and kind is not alerted again within
                         this much clock time, so a price hovering on a level
                         alerts once (default 300)
  --on-alert PROGRAM     start PROGRAM with the alert's text as its one
                         argument, without a shell; the chart goes on without
                         waiting for it

Exit status: 0 done, 1 an output could not be written (the --serve port in
use among them), 2 a bad command line (the simulated clock without
--service-address or --replay among them), module, bars file, settings file
or recording, 3 the service could not be reached (no name, no connection or
no trusted TLS handshake on 3 requests in a row, and never an answer),
4 the run ended with the study's requests halted (a refused key, or a
setting that cannot go into a request): one line names why, even with
--quiet; the outputs are written in full all the same.
)";
}

}  // namespace chart_tool
