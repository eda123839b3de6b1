// The benchmark families, each a file of its own with its floors, its timed
// sets and its table: profile parsing (parse_benchmarks.cpp), the GEX repaint
// (repaint_benchmarks.cpp), the study call (study_call_benchmarks.cpp) and the
// readers of service text (service_text_benchmarks.cpp). Each register
// function registers its sets with Google Benchmark, floor first, and returns
// the table to print from the reporter after the run.
#pragma once

#include "bench/figure_reporter.h"
#include "support/generated_responses.h"
#include "support/minute_bars.h"

FigureTable registerParseBenchmarks();
FigureTable registerRepaintBenchmarks();
FigureTable registerStudyCallBenchmarks();
FigureTable registerServiceTextBenchmarks();

// Peak heap of one parse over the size of the body parsed, at the sizes where
// memory matters: a bare RapidJSON parse (the document alone), parse-and-fill
// into a new profile, and into a profile that already holds a snapshot of the
// same size, as it does in the module from the second answer on. Prints the
// largest ratio of each over the corpus; run it outside any timing.
void reportPeakHeap(FigureReporter& figures);

// The program's --instructions modes, for counts under callgrind, which repeat
// where times on a shared machine do not: both sides of the 500-row parse pair
// of `kind` (loops bareParseLoop and parseAndFillLoop), or of the 2000-strike
// repaint pair (repaintLoop and sortFloorLoop). Each returns the exit status.
int runParseInstructionLoops(ProfileKind kind);
int runRepaintInstructionLoops();

// The chart of the host-driven families: three one-minute bars ending on
// Monday 2026-03-02 at 10:00 New York time, inside the study's default request
// window, where an ordinary call (callAt(kBenchCallTime)) takes its everyday path.
inline constexpr HostDateTime kBenchCallTime = atTimeOfDay(kMonday2026_03_02, 10, 0);
inline void appendBenchBars(Chart& chart) {
  appendMinuteBars(chart, kBenchCallTime - 2 * kBarMinute, 3, 5800.0f);
}
