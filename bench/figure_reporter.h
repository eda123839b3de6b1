// The one reporter of the benchmarks: Google Benchmark's console report, the
// CPU time per iteration of every benchmark by name (the median of its
// repetitions, which shrugs off a disturbed run), the tables each family
// prints after the run, and the figures of those tables as "metric kind rows
// value" lines in a file the run script names for its summary.
#pragma once

#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class FigureReporter : public benchmark::ConsoleReporter {
 public:
  // An empty path keeps no figures.
  explicit FigureReporter(const std::string& figuresPath);

  // False when a file was named but cannot be written.
  bool usable() const { return !figuresWanted_ || figures_.is_open(); }

  void ReportRuns(const std::vector<Run>& runs) override;

  // Nanoseconds of CPU time per iteration; none when the benchmark did not run.
  std::optional<double> cpuNanoseconds(const std::string& name) const;

  // `kind` is one word; rows 0 when a figure has none.
  void record(const char* metric, const char* kind, int rows, double value);

 private:
  bool figuresWanted_;
  std::ofstream figures_;
  std::map<std::string, std::vector<double>> repetitions_;
  std::map<std::string, double> medians_;
};

// What a family prints from the reporter once the timed run is over.
using FigureTable = std::function<void(FigureReporter&)>;

// False, with the benchmark skipped, when what was built for it (a corpus, a
// scene) names a problem: then the figure would time something else.
inline bool worthMeasuring(benchmark::State& state, const std::string& problem) {
  if (!problem.empty()) state.SkipWithError(problem.c_str());
  return problem.empty();
}

// Kept whole and apart: not inlined and not copied into specialised clones.
// A loop counted under callgrind is then found under its one name, and a floor
// pays a call as the reader it is weighed against does.
#if defined(__GNUC__) && !defined(__clang__)
#define KEPT_APART __attribute__((noipa))
#else
#define KEPT_APART __attribute__((noinline))
#endif
