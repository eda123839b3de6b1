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
                         It runs hours in seconds, so it only talks to a
                         stand-in of the service: it needs --service-address.
  --real-clock SECONDS   run on the real clock for this long instead, with
                         every bar of the chart shown from the start; the
                         way to watch the real service, at the study's pace

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
  An answer whose HTTP status is not 200 gets a line of the host's in the
  messages ("Host: the service answered HTTP 500 for PATH: BODY..."), once
  each time the status changes, as the study sees only the body. A failed or
  cut-short answer is asked for again at the study's next interval.

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

Exit status: 0 done, 1 an output could not be written, 2 a bad command line
(the simulated clock without --service-address among them), module, bars file
or settings file, 3 the service could not be reached (no name, no connection
or no trusted TLS handshake on 3 requests in a row, and never an answer).
)";
}

}  // namespace chart_tool
