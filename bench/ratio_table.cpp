#include "bench/ratio_table.h"

#include <cstdio>
#include <map>

#include "bench/response_corpus.h"

namespace {

struct Timings {
  const ParseMeasurement* measurement;
  double bareNs;
  double strictNs;
  double fillNs;

  int rows() const { return measurement->rows; }
  double fillNsPerRow() const { return fillNs / rows(); }
};

}  // namespace

void printRatioTable(const std::vector<ParseMeasurement>& measurements,
                     const RatioReporter& reporter, FigureLog& figures) {
  std::vector<Timings> measured;
  std::map<ProfileKind, double> fillNsPerRowAt500;
  for (const ParseMeasurement& set : measurements) {
    const auto bare = reporter.cpuNanoseconds(set.bareParseName);
    const auto strict = reporter.cpuNanoseconds(set.strictParseName);
    const auto fill = reporter.cpuNanoseconds(set.parseAndFillName);
    if (!bare || !strict || !fill) continue;
    measured.push_back(Timings{&set, *bare, *strict, *fill});
    if (set.rows == 500) fillNsPerRowAt500[set.kind] = measured.back().fillNsPerRow();
  }
  if (measured.empty()) return;

  std::printf("\nOver a bare RapidJSON parse of the same bodies (median CPU time per parse)\n");
  std::printf("%-6s %5s %8s %9s %9s %9s %9s %9s %11s %11s %9s\n", "kind", "rows", "body KiB",
              "bare us", "strict us", "fill us", "strict/", "fill/", "bare ns/row",
              "fill ns/row", "ns/row /");
  std::printf("%-6s %5s %8s %9s %9s %9s %9s %9s %11s %11s %9s\n", "", "", "", "", "", "", "bare",
              "bare", "", "", "at 500");
  for (const Timings& t : measured) {
    const ProfileKind kind = t.measurement->kind;
    const double strictRatio = t.strictNs / t.bareNs;
    const double fillRatio = t.fillNs / t.bareNs;
    std::printf("%-6s %5d %8.1f %9.1f %9.1f %9.1f %9.3f %9.3f %11.1f %11.1f",
                profileKindName(kind), t.rows(), responseCorpus(kind, t.rows()).meanBytes() / 1024,
                t.bareNs / 1000, t.strictNs / 1000, t.fillNs / 1000, strictRatio, fillRatio,
                t.bareNs / t.rows(), t.fillNsPerRow());
    if (const auto at500 = fillNsPerRowAt500.find(kind); at500 != fillNsPerRowAt500.end()) {
      std::printf(" %9.2f", t.fillNsPerRow() / at500->second);
    }
    std::printf("\n");
    figures.record("time_ratio", kind, t.rows(), fillRatio);
    figures.record("strict_time_ratio", kind, t.rows(), strictRatio);
    figures.record("fill_ns_per_row", kind, t.rows(), t.fillNsPerRow());
  }
  std::fflush(stdout);
}
