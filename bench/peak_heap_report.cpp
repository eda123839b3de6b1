#include "bench/peak_heap_report.h"

#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "bench/heap_counter.h"
#include "bench/profile_parsing.h"
#include "bench/response_corpus.h"

namespace {

struct PeakRatios {
  double bareParse = 0;
  double newProfile = 0;
  double profileInUse = 0;
};

std::size_t bareParsePeak(const std::string& body) {
  startHeapCount();
  {
    rapidjson::Document document;
    document.Parse(body.c_str());
    benchmark::DoNotOptimize(document.HasParseError());
  }
  return stopHeapCount();
}

template <typename Profile>
std::size_t fillPeak(HostStudyInterface& sc, const std::string& body, Profile& profile) {
  startHeapCount();
  benchmark::DoNotOptimize(parseProfile(sc, body.c_str(), profile));
  return stopHeapCount();
}

// The largest ratio over all bodies, since the goal is a bound.
template <typename Profile>
PeakRatios measureCorpus(const ResponseCorpus& corpus) {
  PeakRatios worst;
  HostStudyInterface sc = quietHost();
  const std::size_t count = corpus.bodies.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& body = corpus.bodies[i];
    const double size = static_cast<double>(body.size());
    worst.bareParse = std::max(worst.bareParse, bareParsePeak(body) / size);

    auto fresh = std::make_unique<Profile>();
    worst.newProfile = std::max(worst.newProfile, fillPeak(sc, body, *fresh) / size);

    auto inUse = std::make_unique<Profile>();
    parseProfile(sc, corpus.bodies[(i + 1) % count].c_str(), *inUse);
    worst.profileInUse = std::max(worst.profileInUse, fillPeak(sc, body, *inUse) / size);
  }
  return worst;
}

}  // namespace

void reportPeakHeap(FigureLog& figures) {
  std::printf("\nPeak heap during one parse over the body size (largest of %d bodies)\n",
              kCorpusDocuments);
  std::printf("%-6s %6s %9s %11s %13s %15s\n", "kind", "rows", "body KiB", "bare parse",
              "new profile", "profile in use");
  for (ProfileKind kind : {ProfileKind::Gex, ProfileKind::Greek}) {
    for (int rows : kHeapRowCounts) {
      const ResponseCorpus& corpus = responseCorpus(kind, rows);
      if (!corpus.problem.empty()) {
        std::printf("%-6s %6d  not measured: %s\n", profileKindName(kind), rows,
                    corpus.problem.c_str());
        continue;
      }
      const PeakRatios worst = kind == ProfileKind::Gex ? measureCorpus<GexProfile>(corpus)
                                                        : measureCorpus<GreekProfile>(corpus);
      std::printf("%-6s %6d %9.1f %11.3f %13.3f %15.3f\n", profileKindName(kind), rows,
                  corpus.meanBytes() / 1024, worst.bareParse, worst.newProfile,
                  worst.profileInUse);
      figures.record("heap_bare_parse", kind, rows, worst.bareParse);
      figures.record("heap_new_profile", kind, rows, worst.newProfile);
      figures.record("heap_profile_in_use", kind, rows, worst.profileInUse);
    }
  }
  std::fflush(stdout);
}
