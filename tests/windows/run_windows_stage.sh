#!/usr/bin/env bash
# The Windows stage: cross-builds the module, the host runtime and the tests
# for 64-bit Windows and runs them under Wine in a throw-away prefix. The
# WinHTTP request talks to loopback stand-ins of the service started here:
# the main one on 127.0.0.1:443, the others on free ports. Their certificates
# are trusted inside the prefix only, all but the untrusted one's.
# Run from ./run test-windows (which installs the packages first).
#   run_windows_stage.sh [--build-only | --test-only]
set -euo pipefail
cd "$(dirname "$0")/../.."

case "${1:-}" in
  "") build=1 test=1 ;;
  --build-only) build=1 test=0 ;;
  --test-only) build=0 test=1 ;;
  *) echo "usage: $0 [--build-only | --test-only]" >&2; exit 2 ;;
esac

started=$SECONDS
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)
standin=build/linux/tools/standin/tarvio-standin
tests=build/windows/tests

scratch=$(mktemp -d -t tarvio-windows-stage-XXXXXX)
standin_pids=()
standin_runner=()
cleanup() {
  local pid
  for pid in "${standin_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ -d "$scratch/prefix" ]; then
    WINEPREFIX=$scratch/prefix "$WINESERVER" -k 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "windows stage: $*" >&2
  exit 1
}

# start_standin NAME ARGUMENTS...: starts a stand-in in the background, waits
# until it listens and sets standin_port, or fails with standin_problem set.
# It stops by itself after the stage's time at the latest.
start_standin() {
  local name=$1
  shift
  local port_file=$scratch/$name.port
  "${standin_runner[@]}" "$standin" --address 127.0.0.1 --host-name localhost --port-file "$port_file" \
    --write-cert "$scratch/$name.pem" --max-seconds 1800 "$@" \
    >"$scratch/$name.out" 2>"$scratch/$name.err" &
  local pid=$!
  standin_pids+=("$pid")
  local tries
  for tries in $(seq 100); do
    if [ -s "$port_file" ]; then
      standin_port=$(cat "$port_file")
      return
    fi
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  standin_problem=$(head -n 1 "$scratch/$name.err")
  return 1
}

if [ "$build" -eq 1 ]; then
  echo "== windows: stand-in (linux preset)"
  cmake --preset linux >/dev/null
  cmake --build --preset linux --target tarvio-standin

  echo "== windows: cross build (windows preset)"
  cmake --preset windows >/dev/null
  cmake --build --preset windows
fi
[ "$test" -eq 1 ] || exit 0

echo "== windows: Wine prefix"
export WINEPREFIX=$scratch/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 300 "$WINE" wineboot -i >"$scratch/wineboot.log" 2>&1 ||
  { cat "$scratch/wineboot.log" >&2; fail "wineboot could not make the prefix"; }
# wineboot returns while the prefix is still being set up in the background,
# and that setup would drop certificates trusted meanwhile: wait for its end.
timeout 300 "$WINESERVER" -w || fail "the new prefix did not settle"

echo "== windows: stand-ins"
# The module connects to port 443, which needs root (as in CI) or the right
# to bind low ports.
# Without root, sudo may lend the right for this one stand-in.
standin_runner=()
if [ "$(id -u)" -ne 0 ] && sudo -n true 2>/dev/null; then standin_runner=(sudo -n); fi
start_standin service --port 443 --record "$scratch/record.jsonl" ||
  fail "cannot listen on 127.0.0.1:443 (run as root, or free the port): $standin_problem"
standin_runner=()
start_standin not-found --fault not-found || fail "stand-in not-found: $standin_problem"
not_found_port=$standin_port
start_standin empty --fault empty || fail "stand-in empty: $standin_problem"
empty_port=$standin_port
printf '{"multiplier":2}\0{"tail":1}' >"$scratch/zero-byte.json"
start_standin zero-byte --replay "futures=$scratch/zero-byte.json" || fail "stand-in zero-byte: $standin_problem"
zero_byte_port=$standin_port
start_standin untrusted || fail "stand-in untrusted: $standin_problem"
untrusted_port=$standin_port
start_standin truncated --fault truncated || fail "stand-in truncated: $standin_problem"
truncated_port=$standin_port
start_standin close --fault close || fail "stand-in close: $standin_problem"
close_port=$standin_port

"$WINE" "$tests/tarvio_trust_certificate.exe" "$scratch/service.pem" "$scratch/not-found.pem" \
  "$scratch/empty.pem" "$scratch/zero-byte.pem" "$scratch/truncated.pem" "$scratch/close.pem" ||
  fail "cannot trust the stand-ins' certificates in the prefix"

echo "== windows: tests under Wine"
export TARVIO_STANDIN=localhost:443
export TARVIO_STANDIN_RECORD=$scratch/record.jsonl
export TARVIO_STANDIN_NOT_FOUND=localhost:$not_found_port
export TARVIO_STANDIN_EMPTY=localhost:$empty_port
export TARVIO_STANDIN_ZERO_BYTE=localhost:$zero_byte_port
export TARVIO_STANDIN_UNTRUSTED=localhost:$untrusted_port
export TARVIO_STANDIN_TRUNCATED=localhost:$truncated_port
export TARVIO_STANDIN_CLOSE=localhost:$close_port
status=0
ctest --preset windows || status=1

echo "== windows: tarvio-chart under Wine"
# The chart program on a simulated morning against the service stand-in,
# through the host's WinHTTP transport; then the command lines it refuses.
chart_out=$scratch/chart
mkdir -p "$chart_out"
chart() { "$WINE" build/windows/tarvio-chart.exe "$@"; }
if chart --start "2026-03-02 10:15" --end "2026-03-02 10:17" --service-address localhost:443 \
  --api-key standin-key --quiet --csv "$chart_out/outputs.csv" --drawings "$chart_out/drawings.json" \
  --log "$chart_out/log.txt" 2>"$chart_out/stderr" &&
  grep -q '"label": "ZG: ' "$chart_out/drawings.json" && ! grep -q ALERT "$chart_out/log.txt" &&
  [ "$(wc -l <"$chart_out/outputs.csv")" -gt 70 ]; then
  echo "tarvio-chart.exe: levels drawn, outputs written, no alert"
else
  echo "tarvio-chart.exe: the run against the stand-in failed" >&2
  cat "$chart_out/stderr" "$chart_out/log.txt" >&2 2>/dev/null || true
  status=1
fi
refused() {
  local expected=$1
  shift
  local code=0
  chart "$@" 2>"$chart_out/refused" || code=$?
  if [ "$code" -ne 2 ] || ! grep -q "$expected" "$chart_out/refused"; then
    echo "tarvio-chart.exe $*: expected exit 2 and '$expected', got $code: $(cat "$chart_out/refused")" >&2
    status=1
  fi
}
refused "pictures need cairo" --png "$chart_out/chart.png"
refused "live view needs libmicrohttpd" --serve 127.0.0.1:0
refused "none.dll" --module "$chart_out/none.dll"

echo "windows stage: $((SECONDS - started)) s"
exit $status
