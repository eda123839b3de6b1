#!/usr/bin/env bash
# Runs the fuzzers side by side for SECONDS, each from its committed seeds and
# regressions in a throw-away corpus (the repository is never written), and
# prints one line per fuzzer with the executions reached. Fails when a fuzzer
# found something or did not run, saying where its input and log are.
#   fuzz/run_fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail

if [ $# -ne 2 ] || ! [[ $2 =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build_dir=$1
seconds=$2
fuzz_dir=$(cd "$(dirname "$0")" && pwd)
# Each fuzzer's inputs are in the folder of its name under seeds/ and regressions/.
fuzzers=(gex_profile greek_profile futures_conversion majors_history chart_files recording_index)
work=$(mktemp -d "${TMPDIR:-/tmp}/tarvio-fuzz.XXXXXX")

# Any sanitizer report, leaks included, ends a fuzzer with its stack; the
# caller's own settings come last and win.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:print_stacktrace=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

declare -A pids=()
trap 'kill "${pids[@]}" 2>/dev/null; exit 130' INT TERM

for name in "${fuzzers[@]}"; do
  dir=$work/$name
  mkdir -p "$dir/corpus" "$dir/artifacts"
  # Inputs that once broke a check are replayed on every run. The glob passes
  # over dot files such as a .gitkeep, and a folder that is not there.
  for input in "$fuzz_dir"/{seeds,regressions}/"$name"/*; do
    [ ! -f "$input" ] || cp "$input" "$dir/corpus/"
  done
  binary=$build_dir/fuzz/fuzz_$name
  if [ ! -x "$binary" ]; then
    echo "$binary: not built" >"$dir/log"
    continue
  fi
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -dict="$fuzz_dir/json.dict" -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
    "$dir/corpus" >"$dir/log" 2>&1 &
  pids[$name]=$!
done

failed=0
for name in "${fuzzers[@]}"; do
  dir=$work/$name
  status=127
  if [ -n "${pids[$name]:-}" ]; then status=0; wait "${pids[$name]}" || status=$?; fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -n 1)
  artifacts=$(find "$dir/artifacts" -type f | sort)
  if [ "$status" -eq 0 ] && [ -z "$artifacts" ] && [ -n "$executions" ]; then
    echo "fuzz_$name: ${executions} executions in ${seconds} s (${rate:-?} exec/s), nothing found"
    continue
  fi
  failed=1
  echo "fuzz_$name: FAILED (exit $status) after ${executions:-?} executions"
  # The report from its first line: which check or sanitizer, and the stack.
  awk '/fuzz check failed|runtime error|==[0-9]+==ERROR|^ERROR:|not built/ { found = 1 }
       found && shown < 30 { print "  | " $0; shown++ }' "$dir/log"
  for artifact in $artifacts; do echo "  input: $artifact"; done
  echo "  log:   $dir/log"
done

if [ "$failed" -ne 0 ]; then
  echo "fuzzing failed; inputs and logs kept in $work"
  exit 1
fi
rm -rf "$work"
