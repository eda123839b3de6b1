#include "bench/parse_benchmarks.h"

#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <cstdint>

#include "bench/profile_parsing.h"
#include "bench/response_corpus.h"
#include "data/json_document.h"

namespace {

// Every measurement takes the next body of the corpus on each iteration, as a
// study instance gets a fresh answer on every request.
class BodyCycle {
 public:
  explicit BodyCycle(const ResponseCorpus& corpus) : corpus_(corpus) {}

  const char* next() {
    const std::string& body = corpus_.bodies[next_];
    next_ = (next_ + 1) % corpus_.bodies.size();
    bytes_ += static_cast<int64_t>(body.size());
    return body.c_str();
  }

  void setCounters(benchmark::State& state) const {
    state.SetBytesProcessed(bytes_);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * corpus_.rows);
  }

 private:
  const ResponseCorpus& corpus_;
  std::size_t next_ = 0;
  int64_t bytes_ = 0;
};

void bareParse(benchmark::State& state, const ResponseCorpus& corpus) {
  BodyCycle bodies(corpus);
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse(bodies.next());
    benchmark::DoNotOptimize(document.HasParseError());
  }
  bodies.setCounters(state);
}

void strictParse(benchmark::State& state, const ResponseCorpus& corpus) {
  BodyCycle bodies(corpus);
  for (auto _ : state) {
    ResponseDocument document;
    benchmark::DoNotOptimize(parseResponseJson(bodies.next(), document));
  }
  bodies.setCounters(state);
}

// The profile lives across iterations, as it does in the module between
// answers, so its tables keep their capacity from one parse to the next.
template <typename Profile>
void parseAndFill(benchmark::State& state, const ResponseCorpus& corpus) {
  BodyCycle bodies(corpus);
  HostStudyInterface sc = quietHost();
  Profile profile;
  for (auto _ : state) {
    benchmark::DoNotOptimize(parseProfile(sc, bodies.next(), profile));
  }
  bodies.setCounters(state);
}

// The corpus is built on the first call, before any timed iteration.
template <void (*Measure)(benchmark::State&, const ResponseCorpus&)>
void measureCorpus(benchmark::State& state, ProfileKind kind, int rows) {
  const ResponseCorpus& corpus = responseCorpus(kind, rows);
  if (!corpus.problem.empty()) {
    state.SkipWithError(corpus.problem.c_str());
    return;
  }
  Measure(state, corpus);
}

void registerOne(const std::string& name,
                 void (*measure)(benchmark::State&, ProfileKind, int), ProfileKind kind,
                 int rows) {
  benchmark::RegisterBenchmark(name.c_str(), measure, kind, rows)->Unit(benchmark::kMicrosecond);
}

}  // namespace

std::vector<ParseMeasurement> registerParseBenchmarks() {
  std::vector<ParseMeasurement> measurements;
  for (ProfileKind kind : {ProfileKind::Gex, ProfileKind::Greek}) {
    for (int rows : kMeasuredRowCounts) {
      const std::string stem = std::string(profileKindName(kind)) + "/" + std::to_string(rows);
      ParseMeasurement set{kind, rows, stem + "/bare_parse", stem + "/strict_parse",
                           stem + "/parse_and_fill"};
      registerOne(set.bareParseName, measureCorpus<bareParse>, kind, rows);
      registerOne(set.strictParseName, measureCorpus<strictParse>, kind, rows);
      registerOne(set.parseAndFillName,
                  kind == ProfileKind::Gex ? measureCorpus<parseAndFill<GexProfile>>
                                           : measureCorpus<parseAndFill<GreekProfile>>,
                  kind, rows);
      measurements.push_back(set);
    }
  }
  return measurements;
}
