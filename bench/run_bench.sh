#!/usr/bin/env bash
# Runs the benchmarks of a build and sums up their ratios against the goals.
# It reports; it does not fail on a figure above its goal.
#   bench/run_bench.sh BUILD_DIR
# Steps: the timed sets (parses, GEX repaints, study calls, readers of the
# majors history and the futures conversion) with their ratio and peak-heap
# tables (a minute or two), then instruction counts of the 500-row parse pairs
# and the 2000-strike repaint pair under callgrind, which repeat exactly where
# times on a shared machine do not.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
bench="$1/bench/tarvio_bench"
[ -x "$bench" ] || { echo "run_bench: no $bench; build the bench preset first" >&2; exit 1; }

# Parse-and-fill over a bare parse, from 500 rows up.
TIME_GOAL=1.08
TIME_GOAL_FROM_ROWS=500
# Peak heap of one parse over the body size, from 2000 rows up.
HEAP_GOAL=2.5
HEAP_GOAL_FROM_ROWS=2000
# GEX "Both" repaint over a sort of the values of both series, from 2000 strikes up.
REPAINT_GOAL=3
REPAINT_GOAL_FROM_STRIKES=2000
# Must match kInstructionRows and kInstructionStrikes of the program.
INSTRUCTION_ROWS=500
INSTRUCTION_STRIKES=2000

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvio_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
figures="$work/figures"

echo "== timed parses, repaints, study calls and readers of service text"
# Repetitions in random order, so a disturbance on the machine hits every
# benchmark alike; the tables use the median.
"$bench" --figures="$figures" \
  --benchmark_min_time=0.2 \
  --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_display_aggregates_only=true

# Inclusive instructions of the first function matching a name in a
# callgrind profile; empty when there is none. The listing is read to its end:
# leaving early would kill callgrind_annotate with SIGPIPE, and this script
# with it.
inclusive_count() {
  callgrind_annotate --inclusive=yes --threshold=100 "$1" 2>/dev/null |
    awk -v name="$2" '!found && index($0, ":" name "(") { gsub(",", "", $1); print $1; found = 1 }'
}

# Instructions collected inside one loop of the program's --instructions mode
# (gex, greek or repaint).
count_loop() {
  local kind=$1 loop=$2
  local out="$work/callgrind.$kind.$loop"
  valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect="$loop*" \
    "$bench" --instructions "$kind" >"$out.log" 2>&1 || {
    echo "run_bench: callgrind run failed, see below" >&2
    cat "$out.log" >&2
    return 1
  }
  sed -n 's/^summary: *//p' "$out"
}

echo
echo "== instructions under callgrind, $INSTRUCTION_ROWS rows"
if command -v valgrind >/dev/null && command -v callgrind_annotate >/dev/null; then
  for kind in gex greek; do
    bare=$(count_loop "$kind" bareParseLoop)
    fill=$(count_loop "$kind" parseAndFillLoop)
    profile="$work/callgrind.$kind.parseAndFillLoop"
    strict=$(inclusive_count "$profile" parseResponseJson)
    whole=$(inclusive_count "$profile" "parse_${kind}_profile")
    envelope=$(inclusive_count "$profile" openProfileEnvelope)
    awk -v kind="$kind" -v bare="$bare" -v fill="$fill" -v strict="$strict" \
      -v whole="$whole" -v envelope="$envelope" 'BEGIN {
      printf "%-6s bare parse %d, parse-and-fill %d instructions: ratio %.3f\n",
        kind, bare, fill, fill / bare
      if (strict != "" && whole != "" && envelope != "")
        printf "%-6s of parse-and-fill: strict JSON parse %.1f%%, envelope checks %.1f%%, filling %.1f%%\n",
          kind, 100 * strict / fill, 100 * (envelope - strict) / fill, 100 * (whole - envelope) / fill
    }'
    echo "instruction_ratio $kind $INSTRUCTION_ROWS $(awk -v b="$bare" -v f="$fill" 'BEGIN { print f / b }')" \
      >>"$figures"
  done

  echo
  echo "== instructions under callgrind, GEX Both repaint, $INSTRUCTION_STRIKES strikes"
  floor=$(count_loop repaint sortFloorLoop)
  repaint=$(count_loop repaint repaintLoop)
  profile="$work/callgrind.repaint.repaintLoop"
  ranking=$(inclusive_count "$profile" filterTopN)
  # The study's calls of the host operation that maps prices to pixels.
  price_to_y=$(inclusive_count "$profile" "(anonymous namespace)::priceToY")
  awk -v floor="$floor" -v repaint="$repaint" -v ranking="$ranking" -v priceToY="$price_to_y" 'BEGIN {
    printf "sort of the values %d, repaint %d instructions: ratio %.3f\n", floor, repaint, repaint / floor
    printf "(the sort loses its time to mispredicted branches, not instructions: read the time ratio for the goal)\n"
    if (ranking != "" && priceToY != "")
      printf "of the repaint: ranking the series %.1f%%, prices to pixels through the host %.1f%%, the rest of the drawing %.1f%%\n",
        100 * ranking / repaint, 100 * priceToY / repaint, 100 * (repaint - ranking - priceToY) / repaint
  }'
  echo "repaint_instruction_ratio gex $INSTRUCTION_STRIKES $(awk -v f="$floor" -v r="$repaint" 'BEGIN { print r / f }')" \
    >>"$figures"
else
  echo "valgrind is not installed: no instruction counts"
fi

# One summary line per figure: metric, then the goal, if any, that applies.
# The rows of a repaint are its strikes; a whole call has none (0, shown "-").
summarise() {
  local metric=$1 label=$2 goal=$3 from_rows=$4
  awk -v metric="$metric" -v label="$label" -v goal="$goal" -v from="$from_rows" '
    $1 == metric {
      if (goal == "" || $3 < from) { target = "-"; verdict = "" }
      else { target = goal; verdict = ($4 <= goal) ? "within goal" : "ABOVE GOAL" }
      printf "%-40s %-6s %5s %9.3f %6s  %s\n", label, $2, ($3 == 0 ? "-" : $3), $4, target, verdict
    }' "$figures"
}

echo
echo "== summary (goals: parse-and-fill/bare parse <= $TIME_GOAL from $TIME_GOAL_FROM_ROWS rows;" \
  "peak heap <= $HEAP_GOAL x body from $HEAP_GOAL_FROM_ROWS rows;" \
  "repaint/sort <= $REPAINT_GOAL from $REPAINT_GOAL_FROM_STRIKES strikes)"
printf "%-40s %-6s %5s %9s %6s\n" "figure" "kind" "rows" "value" "goal"
summarise time_ratio "time: parse-and-fill / bare parse" "$TIME_GOAL" "$TIME_GOAL_FROM_ROWS"
summarise instruction_ratio "instructions: parse-and-fill / bare" "$TIME_GOAL" "$TIME_GOAL_FROM_ROWS"
summarise strict_time_ratio "time: strict parse / bare parse" "" 0
summarise heap_new_profile "peak heap / body: new profile" "$HEAP_GOAL" "$HEAP_GOAL_FROM_ROWS"
summarise heap_profile_in_use "peak heap / body: profile in use" "$HEAP_GOAL" "$HEAP_GOAL_FROM_ROWS"
summarise heap_bare_parse "peak heap / body: bare parse" "" 0
summarise repaint_ratio "time: GEX Both repaint / sort" "$REPAINT_GOAL" "$REPAINT_GOAL_FROM_STRIKES"
summarise repaint_us "time: GEX Both repaint, us" "" 0
summarise repaint_floor_us "time: sort of its values, us" "" 0
summarise repaint_instruction_ratio "instructions: repaint / sort" "" 0
summarise study_call_ns "time: study call, no response, ns" "" 0
summarise empty_call_ns "time: empty study call, ns" "" 0
summarise study_call_ratio "time: study call / empty call" "" 0
summarise history_read_us "time: majors history read, us" "" 0
summarise history_floor_us "time: its parse and walk, us" "" 0
summarise history_ratio "time: majors history read / floor" "" 0
summarise conversion_read_ns "time: futures conversion read, ns" "" 0
summarise conversion_floor_ns "time: its parse and read, ns" "" 0
summarise conversion_ratio "time: futures conversion read / floor" "" 0
