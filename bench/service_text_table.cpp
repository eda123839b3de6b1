#include "bench/service_text_table.h"

#include <cstdio>
#include <string>

#include "bench/service_text_corpus.h"

namespace {

const ServiceTextCorpus& corpusOf(const ServiceTextMeasurement& set) {
  return set.snapshots > 0 ? historyCorpus(set.snapshots) : conversionCorpus();
}

// A history is a sizeable text and is summed up in microseconds; a
// conversion answer is a few dozen bytes and is summed up in nanoseconds.
void record(FigureLog& figures, const ServiceTextMeasurement& set, double readerNs,
            double floorNs) {
  const double ratio = readerNs / floorNs;
  if (set.snapshots > 0) {
    figures.record("history_read_us", set.reader, set.snapshots, readerNs / 1000);
    figures.record("history_floor_us", set.reader, set.snapshots, floorNs / 1000);
    figures.record("history_ratio", set.reader, set.snapshots, ratio);
  } else {
    figures.record("conversion_read_ns", set.reader, 0, readerNs);
    figures.record("conversion_floor_ns", set.reader, 0, floorNs);
    figures.record("conversion_ratio", set.reader, 0, ratio);
  }
}

}  // namespace

void printServiceTextTable(const std::vector<ServiceTextMeasurement>& measurements,
                           const RatioReporter& reporter, FigureLog& figures) {
  bool headed = false;
  for (const ServiceTextMeasurement& set : measurements) {
    const auto reader = reporter.cpuNanoseconds(set.readerName);
    const auto floor = reporter.cpuNanoseconds(set.floorName);
    if (!reader || !floor) continue;
    if (!headed) {
      std::printf("\nReaders of service text over a RapidJSON parse and read of the same text"
                  " (median CPU time)\n");
      std::printf("%-7s %9s %9s %11s %11s %9s %12s\n", "reader", "snapshots", "text KiB",
                  "reader ns", "floor ns", "reader/", "reader ns/");
      std::printf("%-7s %9s %9s %11s %11s %9s %12s\n", "", "", "", "", "", "floor", "snapshot");
      headed = true;
    }
    std::printf("%-7s %9s %9.2f %11.0f %11.0f %9.3f", set.reader,
                set.snapshots > 0 ? std::to_string(set.snapshots).c_str() : "-",
                corpusOf(set).meanBytes() / 1024, *reader, *floor, *reader / *floor);
    if (set.snapshots > 0) std::printf(" %12.1f", *reader / set.snapshots);
    std::printf("\n");
    record(figures, set, *reader, *floor);
  }
  std::fflush(stdout);
}
