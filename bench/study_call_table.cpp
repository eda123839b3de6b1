#include "bench/study_call_table.h"

#include <cstdio>

namespace {

// The summary's kind column for figures of a whole call.
constexpr const char* kCallKind = "call";

}  // namespace

void printStudyCallTable(const StudyCallMeasurement& measurement, const RatioReporter& reporter,
                         FigureLog& figures) {
  const auto study = reporter.cpuNanoseconds(measurement.studyCallName);
  const auto empty = reporter.cpuNanoseconds(measurement.emptyCallName);
  if (!study || !empty) return;
  const double ratio = *study / *empty;
  std::printf("\nOrdinary call without a response over an empty study call (median CPU time)\n");
  std::printf("%13s %13s %9s %12s\n", "study call ns", "empty call ns", "study/", "study's own");
  std::printf("%13s %13s %9s %12s\n", "", "", "empty", "ns");
  std::printf("%13.1f %13.1f %9.3f %12.1f\n", *study, *empty, ratio, *study - *empty);
  std::fflush(stdout);
  figures.record("study_call_ns", kCallKind, 0, *study);
  figures.record("empty_call_ns", kCallKind, 0, *empty);
  figures.record("study_call_ratio", kCallKind, 0, ratio);
}
