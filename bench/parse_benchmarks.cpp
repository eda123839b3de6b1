// How much the profile parsers cost over a bare RapidJSON parse of the same
// bodies (the floor no parser can beat): in time, for each kind and size, the
// bare parse, the project's strict JSON parse alone, and parse-and-fill, so the
// middle one shows how much of the difference is the acceptance rules of the
// JSON parse rather than the filling; in peak heap; and, under callgrind, in
// instructions.
#include <rapidjson/document.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#include "bench/corpus.h"
#include "bench/families.h"
#include "bench/heap_counter.h"
#include "data/json_document.h"
#include "support/log_only_host.h"
#include "support/profile_parsers.h"

using namespace tarvio;

namespace {

constexpr ProfileKind kKinds[] = {ProfileKind::Gex, ProfileKind::Greek};
constexpr int kMeasuredRowCounts[] = {100, 500, 2000, 5000};
constexpr int kHeapRowCounts[] = {2000, 5000};
constexpr int kInstructionRows = 500;
constexpr int kInstructionPasses = 4;

// Each body must come back Parsed with every row and prior in it; otherwise
// the figures would time an early exit instead of the work.
template <typename Profile>
std::string findUnreadBody(const Corpus& corpus, ProfileKind kind, int rows) {
  HostStudyInterface sc = logOnlyHost(dropLogLine);
  const std::size_t priors = static_cast<std::size_t>(rows * priorsPerRow(kind));
  for (std::size_t i = 0; i < corpus.bodies.size(); ++i) {
    Profile profile;
    const ReadOutcome outcome = parseProfile(sc, corpus.bodies[i].c_str(), &profile);
    if (outcome != ReadOutcome::Parsed || profile.strikes.size() != std::size_t(rows) ||
        profile.priors.size() != priors) {
      using std::to_string;
      return std::string(profileKindName(kind)) + " body " + to_string(i) + " of " +
             to_string(rows) + " rows was not read whole (outcome " + to_string(int(outcome)) +
             ", " + to_string(profile.strikes.size()) + " rows, " +
             to_string(profile.priors.size()) + " priors)";
    }
  }
  return {};
}

// Built and checked once, outside any timing, then kept for the program's life.
const Corpus& profileCorpus(ProfileKind kind, int rows) {
  static std::map<std::pair<ProfileKind, int>, std::unique_ptr<Corpus>> built;
  std::unique_ptr<Corpus>& slot = built[{kind, rows}];
  if (!slot) {
    slot = std::make_unique<Corpus>(
        generateCorpus([&](uint64_t seed) { return makeProfileResponse(kind, rows, seed); }));
    if (slot->problem.empty()) {
      slot->problem = kind == ProfileKind::Gex ? findUnreadBody<GexProfile>(*slot, kind, rows)
                                               : findUnreadBody<GreekProfile>(*slot, kind, rows);
    }
  }
  return *slot;
}

bool bareParse(const char* body) {
  rapidjson::Document document;
  document.Parse(body);
  return !document.HasParseError();
}

// The profile lives across iterations, as it does in the module between
// answers, so its tables keep their capacity from one parse to the next.
template <typename Profile>
void parseAndFill(benchmark::State& state, const Corpus& corpus, int rows) {
  BodyCycle bodies(corpus);
  HostStudyInterface sc = logOnlyHost(dropLogLine);
  Profile profile;
  for (auto _ : state) benchmark::DoNotOptimize(parseProfile(sc, bodies.next(), &profile));
  bodies.setCounters(state, rows);
}

// Step 0 is the bare parse, 1 the strict JSON parse alone, 2 parse-and-fill.
template <int Step>
void measureParse(benchmark::State& state, ProfileKind kind, int rows) {
  const Corpus& corpus = profileCorpus(kind, rows);
  if (!worthMeasuring(state, corpus.problem)) return;
  if constexpr (Step == 2) {
    kind == ProfileKind::Gex ? parseAndFill<GexProfile>(state, corpus, rows)
                             : parseAndFill<GreekProfile>(state, corpus, rows);
    return;
  }
  BodyCycle bodies(corpus);
  for (auto _ : state) {
    if constexpr (Step == 0) {
      benchmark::DoNotOptimize(bareParse(bodies.next()));
    } else {
      ResponseDocument document;
      benchmark::DoNotOptimize(parseResponseJson(bodies.next(), document));
    }
  }
  bodies.setCounters(state, rows);
}

std::string nameOf(ProfileKind kind, int rows, int step) {
  constexpr const char* kSteps[] = {"bare_parse", "strict_parse", "parse_and_fill"};
  return std::string(profileKindName(kind)) + "/" + std::to_string(rows) + "/" + kSteps[step];
}

// Parse-and-fill and the strict parse over their bare-parse floor for every
// kind and size, and the cost per row, which stays flat when parsing is linear
// in the number of rows.
void printParseTable(FigureReporter& figures) {
  struct Row {
    ProfileKind kind;
    int rows;
    double bareNs, strictNs, fillNs;
  };
  std::vector<Row> measured;
  std::map<ProfileKind, double> fillNsPerRowAt500;
  for (ProfileKind kind : kKinds) {
    for (int rows : kMeasuredRowCounts) {
      const auto bare = figures.cpuNanoseconds(nameOf(kind, rows, 0));
      const auto strict = figures.cpuNanoseconds(nameOf(kind, rows, 1));
      const auto fill = figures.cpuNanoseconds(nameOf(kind, rows, 2));
      if (!bare || !strict || !fill) continue;
      measured.push_back(Row{kind, rows, *bare, *strict, *fill});
      if (rows == 500) fillNsPerRowAt500[kind] = *fill / rows;
    }
  }
  if (measured.empty()) return;

  std::printf("\nOver a bare RapidJSON parse of the same bodies (median CPU time per parse)\n");
  std::printf("%-6s %5s %8s %9s %9s %9s %9s %9s %11s %11s %9s\n", "kind", "rows", "body KiB",
              "bare us", "strict us", "fill us", "strict/", "fill/", "bare ns/row",
              "fill ns/row", "ns/row /");
  std::printf("%-6s %5s %8s %9s %9s %9s %9s %9s %11s %11s %9s\n", "", "", "", "", "", "", "bare",
              "bare", "", "", "at 500");
  for (const Row& t : measured) {
    const char* kind = profileKindName(t.kind);
    const double strictRatio = t.strictNs / t.bareNs;
    const double fillRatio = t.fillNs / t.bareNs;
    const double fillNsPerRow = t.fillNs / t.rows;
    std::printf("%-6s %5d %8.1f %9.1f %9.1f %9.1f %9.3f %9.3f %11.1f %11.1f", kind, t.rows,
                profileCorpus(t.kind, t.rows).meanBytes() / 1024, t.bareNs / 1000,
                t.strictNs / 1000, t.fillNs / 1000, strictRatio, fillRatio, t.bareNs / t.rows,
                fillNsPerRow);
    if (const auto at500 = fillNsPerRowAt500.find(t.kind); at500 != fillNsPerRowAt500.end())
      std::printf(" %9.2f", fillNsPerRow / at500->second);
    std::printf("\n");
    figures.record("time_ratio", kind, t.rows, fillRatio);
    figures.record("strict_time_ratio", kind, t.rows, strictRatio);
    figures.record("fill_ns_per_row", kind, t.rows, fillNsPerRow);
  }
  std::fflush(stdout);
}

struct PeakRatios {
  double bareParse = 0;
  double newProfile = 0;
  double profileInUse = 0;
};

template <typename Profile>
std::size_t fillPeak(HostStudyInterface& sc, const std::string& body, Profile& profile) {
  startHeapCount();
  benchmark::DoNotOptimize(parseProfile(sc, body.c_str(), &profile));
  return stopHeapCount();
}

// The largest ratio over all bodies, since the goal is a bound.
template <typename Profile>
PeakRatios measurePeaks(const Corpus& corpus) {
  PeakRatios worst;
  HostStudyInterface sc = logOnlyHost(dropLogLine);
  const std::size_t count = corpus.bodies.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& body = corpus.bodies[i];
    const double size = static_cast<double>(body.size());
    startHeapCount();
    benchmark::DoNotOptimize(bareParse(body.c_str()));
    worst.bareParse = std::max(worst.bareParse, stopHeapCount() / size);

    auto fresh = std::make_unique<Profile>();
    worst.newProfile = std::max(worst.newProfile, fillPeak(sc, body, *fresh) / size);

    auto inUse = std::make_unique<Profile>();
    parseProfile(sc, corpus.bodies[(i + 1) % count].c_str(), inUse.get());
    worst.profileInUse = std::max(worst.profileInUse, fillPeak(sc, body, *inUse) / size);
  }
  return worst;
}

template <typename Profile>
int fillEvery(HostStudyInterface& sc, const std::vector<std::string>& bodies, int passes,
              Profile& profile) {
  int parsed = 0;
  for (int pass = 0; pass < passes; ++pass)
    for (const std::string& body : bodies)
      parsed += parseProfile(sc, body.c_str(), &profile) == ReadOutcome::Parsed ? 1 : 0;
  return parsed;
}

}  // namespace

// The loops callgrind counts alone (--toggle-collect='bareParseLoop*' or
// 'parseAndFillLoop*'): each returns how many bodies parsed.
KEPT_APART int bareParseLoop(const std::vector<std::string>& bodies, int passes) {
  int parsed = 0;
  for (int pass = 0; pass < passes; ++pass)
    for (const std::string& body : bodies) parsed += bareParse(body.c_str()) ? 1 : 0;
  return parsed;
}

KEPT_APART int parseAndFillLoop(HostStudyInterface& sc, const std::vector<std::string>& bodies,
                                  int passes, GexProfile& profile) {
  return fillEvery(sc, bodies, passes, profile);
}

KEPT_APART int parseAndFillLoop(HostStudyInterface& sc, const std::vector<std::string>& bodies,
                                  int passes, GreekProfile& profile) {
  return fillEvery(sc, bodies, passes, profile);
}

namespace {

// The profile is filled once before counting, so the count sees the module's
// steady state: tables that already have their capacity.
template <typename Profile>
int runBothLoops(ProfileKind kind, const Corpus& corpus) {
  HostStudyInterface sc = logOnlyHost(dropLogLine);
  Profile profile;
  parseProfile(sc, corpus.bodies.back().c_str(), &profile);
  const int bare = bareParseLoop(corpus.bodies, kInstructionPasses);
  const int filled = parseAndFillLoop(sc, corpus.bodies, kInstructionPasses, profile);
  const int expected = kInstructionPasses * static_cast<int>(corpus.bodies.size());
  std::printf("%s, %d rows: %d bare parses, %d parse-and-fills (of %d each)\n",
              profileKindName(kind), kInstructionRows, bare, filled, expected);
  return bare == expected && filled == expected ? 0 : 1;
}

}  // namespace

FigureTable registerParseBenchmarks() {
  for (ProfileKind kind : kKinds) {
    for (int rows : kMeasuredRowCounts) {
      constexpr void (*kMeasures[])(benchmark::State&, ProfileKind, int) = {
          measureParse<0>, measureParse<1>, measureParse<2>};
      for (int step = 0; step < 3; ++step) {
        benchmark::RegisterBenchmark(nameOf(kind, rows, step).c_str(), kMeasures[step], kind, rows)
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
  return printParseTable;
}

void reportPeakHeap(FigureReporter& figures) {
  std::printf("\nPeak heap during one parse over the body size (largest of %d bodies)\n",
              kCorpusDocuments);
  std::printf("%-6s %6s %9s %11s %13s %15s\n", "kind", "rows", "body KiB", "bare parse",
              "new profile", "profile in use");
  for (ProfileKind kind : kKinds) {
    for (int rows : kHeapRowCounts) {
      const Corpus& corpus = profileCorpus(kind, rows);
      const char* name = profileKindName(kind);
      if (!corpus.problem.empty()) {
        std::printf("%-6s %6d  not measured: %s\n", name, rows, corpus.problem.c_str());
        continue;
      }
      const PeakRatios worst = kind == ProfileKind::Gex ? measurePeaks<GexProfile>(corpus)
                                                        : measurePeaks<GreekProfile>(corpus);
      std::printf("%-6s %6d %9.1f %11.3f %13.3f %15.3f\n", name, rows, corpus.meanBytes() / 1024,
                  worst.bareParse, worst.newProfile, worst.profileInUse);
      figures.record("heap_bare_parse", name, rows, worst.bareParse);
      figures.record("heap_new_profile", name, rows, worst.newProfile);
      figures.record("heap_profile_in_use", name, rows, worst.profileInUse);
    }
  }
  std::fflush(stdout);
}

int runParseInstructionLoops(ProfileKind kind) {
  const Corpus& corpus = profileCorpus(kind, kInstructionRows);
  if (!corpus.problem.empty()) {
    std::fprintf(stderr, "tarvio_bench: %s\n", corpus.problem.c_str());
    return 1;
  }
  return kind == ProfileKind::Gex ? runBothLoops<GexProfile>(kind, corpus)
                                  : runBothLoops<GreekProfile>(kind, corpus);
}
