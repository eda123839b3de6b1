// The console report of Google Benchmark, plus what the ratio table needs:
// the CPU time per iteration of every benchmark, by name. With repetitions
// the median of the repetitions is kept, as it shrugs off a disturbed run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter();

  void ReportRuns(const std::vector<Run>& runs) override;

  // Nanoseconds of CPU time per iteration; none when the benchmark did not run.
  std::optional<double> cpuNanoseconds(const std::string& name) const;

 private:
  std::map<std::string, std::vector<double>> repetitions_;
  std::map<std::string, double> medians_;
};
