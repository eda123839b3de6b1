#include "bench/service_text_benchmarks.h"

#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/service_text_corpus.h"
#include "bench/service_text_floors.h"
#include "bench/market_hours_chart.h"
#include "service/futures_conversion.h"
#include "service/majors_history.h"

namespace {

// The premiums of a chart of the index itself.
constexpr float kAdditive = 0.0f;
constexpr float kMultiplier = 1.0f;
constexpr const char* kFuturesTarget = "ES";

// Every iteration takes the next body, as each request brings a fresh answer.
class BodyCycle {
 public:
  explicit BodyCycle(const ServiceTextCorpus& corpus) : corpus_(corpus) {}

  const char* next() {
    const std::string& body = corpus_.bodies[next_];
    next_ = (next_ + 1) % corpus_.bodies.size();
    bytes_ += static_cast<int64_t>(body.size());
    return body.c_str();
  }

  void setCounters(benchmark::State& state, int itemsPerBody) const {
    state.SetBytesProcessed(bytes_);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * itemsPerBody);
  }

 private:
  const ServiceTextCorpus& corpus_;
  std::size_t next_ = 0;
  int64_t bytes_ = 0;
};

void historyFloor(benchmark::State& state, const ServiceTextCorpus& corpus, int snapshots) {
  BodyCycle bodies(corpus);
  for (auto _ : state) benchmark::DoNotOptimize(readHistoryFloor(bodies.next()));
  bodies.setCounters(state, snapshots);
}

// The whole timed loop runs inside one study call, so the figure is the
// reader's alone and not the host's cost of a call.
void historyReader(benchmark::State& state, const ServiceTextCorpus& corpus, int snapshots) {
  BodyCycle bodies(corpus);
  MarketHoursChart chart;
  chart.call([&](HostStudyInterface& sc) {
    for (auto _ : state) {
      benchmark::DoNotOptimize(parseMajorsHistory(sc, bodies.next(), kAdditive, kMultiplier));
    }
  });
  bodies.setCounters(state, snapshots);
}

void conversionFloor(benchmark::State& state, const ServiceTextCorpus& corpus, int) {
  BodyCycle bodies(corpus);
  for (auto _ : state) benchmark::DoNotOptimize(readConversionFloor(bodies.next()));
  bodies.setCounters(state, 1);
}

// The reader logs one line per answer; the log is emptied after each so it
// keeps one line's room instead of growing for the whole run.
void conversionReader(benchmark::State& state, const ServiceTextCorpus& corpus, int) {
  BodyCycle bodies(corpus);
  MarketHoursChart chart;
  MessageLog& log = chart.instance().log();
  chart.call([&](HostStudyInterface& sc) {
    for (auto _ : state) {
      parseFuturesConversion(sc, bodies.next(), kFuturesTarget);
      log.clear();
    }
  });
  bodies.setCounters(state, 1);
}

using Measure = void (*)(benchmark::State&, const ServiceTextCorpus&, int);

// The corpus is built on the first call, before any timed iteration.
template <Measure Timed>
void measureHistory(benchmark::State& state, int snapshots) {
  const ServiceTextCorpus& corpus = historyCorpus(snapshots);
  if (!corpus.problem.empty()) {
    state.SkipWithError(corpus.problem.c_str());
    return;
  }
  Timed(state, corpus, snapshots);
}

template <Measure Timed>
void measureConversion(benchmark::State& state) {
  const ServiceTextCorpus& corpus = conversionCorpus();
  if (!corpus.problem.empty()) {
    state.SkipWithError(corpus.problem.c_str());
    return;
  }
  Timed(state, corpus, 0);
}

}  // namespace

std::vector<ServiceTextMeasurement> registerServiceTextBenchmarks() {
  std::vector<ServiceTextMeasurement> measurements;
  for (int snapshots : kHistorySnapshotCounts) {
    const std::string stem = "majors_history/" + std::to_string(snapshots);
    ServiceTextMeasurement set{"majors", snapshots, stem + "/reader", stem + "/floor"};
    benchmark::RegisterBenchmark(set.floorName.c_str(), measureHistory<historyFloor>, snapshots)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(set.readerName.c_str(), measureHistory<historyReader>, snapshots)
        ->Unit(benchmark::kMicrosecond);
    measurements.push_back(set);
  }
  ServiceTextMeasurement conversion{"conv", 0, "futures_conversion/reader",
                                    "futures_conversion/floor"};
  benchmark::RegisterBenchmark(conversion.floorName.c_str(), measureConversion<conversionFloor>);
  benchmark::RegisterBenchmark(conversion.readerName.c_str(), measureConversion<conversionReader>);
  measurements.push_back(conversion);
  return measurements;
}
