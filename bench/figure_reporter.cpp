#include "bench/figure_reporter.h"

#include <unistd.h>

#include <algorithm>

namespace {

// Colour codes only on a terminal, so that a captured log stays readable.
benchmark::ConsoleReporter::OutputOptions consoleOptions() {
  return isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                               : benchmark::ConsoleReporter::OO_Tabular;
}

double nanosecondsPerIteration(const benchmark::BenchmarkReporter::Run& run) {
  return run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

FigureReporter::FigureReporter(const std::string& figuresPath)
    : ConsoleReporter(consoleOptions()), figuresWanted_(!figuresPath.empty()) {
  if (figuresWanted_) figures_.open(figuresPath, std::ios::out | std::ios::trunc);
}

void FigureReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    const std::string& name = run.run_name.function_name;
    if (run.run_type == Run::RT_Iteration) {
      repetitions_[name].push_back(nanosecondsPerIteration(run));
    } else if (run.aggregate_name == "median") {
      medians_[name] = nanosecondsPerIteration(run);
    }
  }
}

std::optional<double> FigureReporter::cpuNanoseconds(const std::string& name) const {
  if (auto found = medians_.find(name); found != medians_.end()) return found->second;
  if (auto found = repetitions_.find(name); found != repetitions_.end()) {
    return median(found->second);
  }
  return std::nullopt;
}

void FigureReporter::record(const char* metric, const char* kind, int rows, double value) {
  if (!figures_.is_open()) return;
  figures_ << metric << ' ' << kind << ' ' << rows << ' ' << value << '\n';
  figures_.flush();
}
