#!/usr/bin/env bash
# The demo: the study on a simulated New York morning against the loopback
# stand-in of the service. Monday 2026-03-02, one-minute bars from 09:00
# that follow the stand-in's own ES_SPX spot, study calls every second from
# 10:15 to 11:00 (so the majors history fills the bars since 09:30 and the
# live answers continue them). Two runs: a GEX chart with the default
# inputs, then the State package with the 0DTE gamma profile.
#   run_demo.sh BUILD_DIR OUT_DIR
set -euo pipefail

build=$1
out=$2
standin="$build/tools/standin/tarvio-standin"
chart="$build/tarvio-chart"
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.csv "$out"/*.json "$out"/*.txt "$out"/*.log "$out"/*.pem "$out"/port

# 2026-03-02 is before the switch to daylight time: New York is UTC-5.
utc() { date -u -d "2026-03-02 $1" +%s; }
first_call=$(utc 15:15:00)

"$standin" --write-bars "$out/bars.csv" --bars-window "$(utc 14:00:00),$(utc 16:01:00)"

standin_pid=
stop_standin() {
  if [ -n "$standin_pid" ]; then
    kill "$standin_pid" 2>/dev/null || true
    wait "$standin_pid" 2>/dev/null || true
    standin_pid=
  fi
}
trap stop_standin EXIT

# A fresh stand-in per run: its clock starts at the first call and moves on
# five seconds with every profile answer, as often as the study asks.
start_standin() {
  rm -f "$out/port"
  "$standin" --now "$first_call" --advance 5 --port-file "$out/port" \
    --write-cert "$out/standin-cert.pem" --max-seconds 300 2>>"$out/standin.log" >/dev/null &
  standin_pid=$!
  for _ in $(seq 100); do
    [ -s "$out/port" ] && return
    kill -0 "$standin_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "demo: the stand-in did not start; see $out/standin.log" >&2
  exit 1
}

run_chart() {
  local name=$1
  shift
  start_standin
  "$chart" --bars "$out/bars.csv" --start "2026-03-02 10:15" --end "2026-03-02 11:00" \
    --service-address "127.0.0.1:$(cat "$out/port")" --ca-file "$out/standin-cert.pem" \
    --api-key standin-key --quiet --no-progress \
    --png "$out/$name.png" --csv "$out/$name-outputs.csv" --drawings "$out/$name-drawings.json" \
    --log "$out/$name-log.txt" "$@"
  stop_standin
  echo "  $name: $out/$name.png  (outputs $name-outputs.csv, drawings $name-drawings.json, messages $name-log.txt)"
}

echo "demo: Monday 2026-03-02, ES_SPX, calls every second from 10:15 to 11:00 New York time"
run_chart gex
run_chart gamma --set "Package=State" --set "Greek=0dte Gamma (State Package Only)"
echo "demo: pictures and outputs are in $out"
