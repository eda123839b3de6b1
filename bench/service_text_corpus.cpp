#include "bench/service_text_corpus.h"

#include <map>
#include <memory>
#include <set>

#include "bench/conversion_response_generator.h"
#include "bench/history_response_generator.h"
#include "bench/response_corpus.h"
#include "bench/service_text_floors.h"
#include "bench/market_hours_chart.h"
#include "service/futures_conversion.h"
#include "service/majors_history.h"
#include "study/study_inputs.h"

namespace {

constexpr int kLevelSeries = 3;
// Premiums the checks expect to see replaced.
constexpr float kStaleMultiplier = 7.0f;
constexpr float kStaleAdditive = 8.0f;

std::string bodyProblem(const char* what, std::size_t i, const std::string& detail) {
  return std::string(what) + " body " + std::to_string(i) + ": " + detail;
}

// Every snapshot has a bar of its own, so a body read whole leaves each level
// series non-zero on exactly `snapshots` bars, the earliest of them marked.
std::string checkHistoryBody(MarketHoursChart& chart, const std::string& body, int snapshots) {
  int32_t result = -1;
  int32_t earliest = -1;
  int filled[kLevelSeries] = {};
  chart.instance().log().clear();
  chart.call([&](HostStudyInterface& sc) {
    for (int series = 0; series < kLevelSeries; ++series) {
      HostSubgraph& subgraph = subgraphAt(sc, series);
      for (int32_t bar = 0; bar < sc.barCount; ++bar) subgraphValueAt(subgraph, bar) = 0.0f;
    }
    sc.earliestChangedBarIndex = -1;
    result = parseMajorsHistory(sc, body.c_str(), 0.0f, 1.0f);
    earliest = sc.earliestChangedBarIndex;
    for (int series = 0; series < kLevelSeries; ++series) {
      HostSubgraph& subgraph = subgraphAt(sc, series);
      for (int32_t bar = 0; bar < sc.barCount; ++bar) {
        filled[series] += subgraphValueAt(subgraph, bar) != 0.0f ? 1 : 0;
      }
    }
  });
  if (result != kHistoryRead) return "the reader did not read it";
  if (earliest != chart.barCount() - snapshots) return "the earliest changed bar is wrong";
  for (int series = 0; series < kLevelSeries; ++series) {
    if (filled[series] != snapshots) {
      return "series " + std::to_string(series) + " holds " + std::to_string(filled[series]) +
             " levels of " + std::to_string(snapshots);
    }
  }
  if (!chart.instance().log().lines().empty()) return "the reader logged a line";
  const HistoryFloorReading floor = readHistoryFloor(body.c_str());
  if (!floor.parsed || floor.snapshots != snapshots) return "the floor did not read it whole";
  return {};
}

// The reader must put the floor's numbers into the two premium inputs and
// log one ordinary line.
std::string checkConversionBody(MarketHoursChart& chart, const std::string& body) {
  HostInput& multiplier = chart.instance().input(kMultiplicativePremiumInput);
  HostInput& additive = chart.instance().input(kAdditivePremiumInput);
  multiplier.floatValue = kStaleMultiplier;
  additive.floatValue = kStaleAdditive;
  chart.instance().log().clear();
  chart.call([&](HostStudyInterface& sc) { parseFuturesConversion(sc, body.c_str(), "ES"); });
  const ConversionFloorReading floor = readConversionFloor(body.c_str());
  if (!floor.parsed || floor.contractLength == 0) return "the floor did not read it";
  if (multiplier.floatValue != static_cast<float>(floor.multiplier) ||
      additive.floatValue != static_cast<float>(floor.additive)) {
    return "the reader and the floor read different premiums";
  }
  const auto& lines = chart.instance().log().lines();
  if (lines.size() != 1 || lines.front().alert) return "the reader did not log one ordinary line";
  return {};
}

template <typename Check>
std::string checkEveryBody(const ServiceTextCorpus& corpus, const char* what, Check check) {
  const std::set<std::string> distinct(corpus.bodies.begin(), corpus.bodies.end());
  if (distinct.size() != corpus.bodies.size()) return "the generator repeated a document";
  for (std::size_t i = 0; i < corpus.bodies.size(); ++i) {
    const std::string problem = check(corpus.bodies[i]);
    if (!problem.empty()) return bodyProblem(what, i, problem);
  }
  return {};
}

template <typename Generate>
std::unique_ptr<ServiceTextCorpus> generate(Generate makeBody) {
  auto corpus = std::make_unique<ServiceTextCorpus>();
  for (int seed = 1; seed <= kCorpusDocuments; ++seed) {
    corpus->bodies.push_back(makeBody(static_cast<uint64_t>(seed)));
    corpus->totalBytes += corpus->bodies.back().size();
  }
  return corpus;
}

}  // namespace

const ServiceTextCorpus& historyCorpus(int snapshots) {
  static std::map<int, std::unique_ptr<ServiceTextCorpus>> built;
  std::unique_ptr<ServiceTextCorpus>& slot = built[snapshots];
  if (!slot) {
    slot = generate([&](uint64_t seed) { return makeHistoryResponse(snapshots, seed); });
    MarketHoursChart chart;
    slot->problem = checkEveryBody(*slot, "history", [&](const std::string& body) {
      return checkHistoryBody(chart, body, snapshots);
    });
  }
  return *slot;
}

const ServiceTextCorpus& conversionCorpus() {
  static std::unique_ptr<ServiceTextCorpus> built;
  if (!built) {
    built = generate(makeConversionResponse);
    MarketHoursChart chart;
    built->problem = checkEveryBody(*built, "conversion", [&](const std::string& body) {
      return checkConversionBody(chart, body);
    });
  }
  return *built;
}
