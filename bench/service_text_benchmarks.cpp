// How much the readers of service text cost over their floors, a RapidJSON
// parse of the same bytes under the module's parse flags and a plain read of
// the members the reader uses, with no host calls and nothing written: the
// majors history of one and of four trading days, read into the level series
// of a market-hours chart, and the futures conversion, read into the two
// premium inputs. Both readers run inside an ordinary study call.
#include <rapidjson/document.h>

#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#include "bench/corpus.h"
#include "bench/families.h"
#include "service/futures_conversion.h"
#include "service/majors_history.h"
#include "study/study_inputs.h"
#include "support/market_hours_chart.h"

using namespace tarvio;

namespace {

constexpr int kHistorySnapshotCounts[] = {390, 1560};
constexpr int kLevelSeries = 3;
constexpr const char* kLevelKeys[kLevelSeries] = {"major_call_gamma", "major_put_gamma",
                                                  "zero_gamma"};
// The premiums of a chart of the index itself.
constexpr float kAdditive = 0.0f;
constexpr float kMultiplier = 1.0f;
constexpr const char* kFuturesTarget = "ES";
// Premiums the checks expect to see replaced.
constexpr float kStaleMultiplier = 7.0f;
constexpr float kStaleAdditive = 8.0f;

// The first member named `key`, or null; `object` must be an object.
const rapidjson::Value* memberOf(const rapidjson::Value& object, const char* key) {
  const auto found = object.FindMember(key);
  return found != object.MemberEnd() ? &found->value : nullptr;
}

// Parses `text` under the module's parse flags; false on a parse error or a
// root of another kind than `isKind` asks for.
bool parseRoot(rapidjson::Document& document, const char* text,
               bool (rapidjson::Value::*isKind)() const) {
  document.Parse<rapidjson::kParseDefaultFlags>(text);
  return !document.HasParseError() && (document.*isKind)();
}

struct HistoryFloorReading {
  bool parsed = false;
  int snapshots = 0;  // elements that are objects with an integer "timestamp"
  double levelSum = 0;
};

// Walks the array reading "timestamp" and the three levels of every element.
KEPT_APART HistoryFloorReading readHistoryFloor(const char* text) {
  HistoryFloorReading reading;
  rapidjson::Document document;
  reading.parsed = parseRoot(document, text, &rapidjson::Value::IsArray);
  if (!reading.parsed) return reading;
  for (const rapidjson::Value& snapshot : document.GetArray()) {
    if (!snapshot.IsObject()) continue;
    const rapidjson::Value* timestamp = memberOf(snapshot, "timestamp");
    if (timestamp == nullptr || !timestamp->IsInt64()) continue;
    ++reading.snapshots;
    reading.levelSum += static_cast<double>(timestamp->GetInt64() % 60);
    for (const char* key : kLevelKeys) {
      const rapidjson::Value* level = memberOf(snapshot, key);
      if (level != nullptr && level->IsNumber()) reading.levelSum += level->GetDouble();
    }
  }
  return reading;
}

struct ConversionFloorReading {
  bool parsed = false;
  double multiplier = 0;
  double additive = 0;
  std::size_t contractLength = 0;
};

// Reads "multiplier", "additive" and "future_contract" of the root object.
KEPT_APART ConversionFloorReading readConversionFloor(const char* text) {
  ConversionFloorReading reading;
  rapidjson::Document document;
  if (!parseRoot(document, text, &rapidjson::Value::IsObject)) return reading;
  reading.parsed = true;
  const rapidjson::Value* multiplier = memberOf(document, "multiplier");
  const rapidjson::Value* additive = memberOf(document, "additive");
  const rapidjson::Value* contract = memberOf(document, "future_contract");
  if (multiplier != nullptr && multiplier->IsNumber()) reading.multiplier = multiplier->GetDouble();
  if (additive != nullptr && additive->IsNumber()) reading.additive = additive->GetDouble();
  if (contract != nullptr && contract->IsString()) reading.contractLength = contract->GetStringLength();
  return reading;
}

// Every snapshot has a bar of its own, so a body read whole leaves each level
// series non-zero on exactly `snapshots` bars, the earliest of them marked.
std::string checkHistoryBody(MarketHoursChart& chart, const std::string& body, int snapshots) {
  ReadOutcome result = ReadOutcome::Halt;
  int32_t earliest = -1;
  int filled[kLevelSeries] = {};
  chart.instance().log().clear();
  chart.call([&](HostStudyInterface& sc) {
    for (int series = 0; series < kLevelSeries; ++series) {
      HostSubgraph& subgraph = subgraphAt(sc, series);
      for (int32_t bar = 0; bar < sc.barCount; ++bar) subgraphValueAt(subgraph, bar) = 0.0f;
    }
    sc.earliestChangedBarIndex = -1;
    result = readMajorsHistory(sc, body.c_str(), 0.0f, 1.0f);
    earliest = sc.earliestChangedBarIndex;
    for (int series = 0; series < kLevelSeries; ++series) {
      HostSubgraph& subgraph = subgraphAt(sc, series);
      for (int32_t bar = 0; bar < sc.barCount; ++bar) {
        filled[series] += subgraphValueAt(subgraph, bar) != 0.0f ? 1 : 0;
      }
    }
  });
  if (result != ReadOutcome::Parsed) return "the reader did not read it";
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

// A history corpus of `snapshots` per body, or (at 0) the conversion corpus:
// built and checked once, outside any timing, each body to be read whole by
// both its reader and its floor, so no figure times an early exit.
const Corpus& serviceTextCorpus(int snapshots) {
  static std::map<int, std::unique_ptr<Corpus>> built;
  std::unique_ptr<Corpus>& slot = built[snapshots];
  if (slot) return *slot;
  slot = std::make_unique<Corpus>(generateCorpus([&](uint64_t seed) {
    return snapshots > 0 ? makeHistoryResponse(snapshots, seed) : makeConversionResponse(seed);
  }));
  MarketHoursChart chart;
  for (std::size_t i = 0; i < slot->bodies.size() && slot->problem.empty(); ++i) {
    const std::string& body = slot->bodies[i];
    const std::string problem = snapshots > 0 ? checkHistoryBody(chart, body, snapshots)
                                              : checkConversionBody(chart, body);
    if (!problem.empty()) {
      slot->problem = std::string(snapshots > 0 ? "history" : "conversion") + " body " +
                      std::to_string(i) + ": " + problem;
    }
  }
  return *slot;
}

// The readers' whole timed loop runs inside one study call, so the figure is
// the reader's alone and not the host's cost of a call. The conversion reader
// logs one line per answer; the log is emptied after each so it keeps one
// line's room instead of growing for the whole run.
template <bool Floor, bool History>
void measureReader(benchmark::State& state, int snapshots) {
  const Corpus& corpus = serviceTextCorpus(snapshots);
  if (!worthMeasuring(state, corpus.problem)) return;
  BodyCycle bodies(corpus);
  if constexpr (Floor) {
    for (auto _ : state) {
      if constexpr (History) {
        benchmark::DoNotOptimize(readHistoryFloor(bodies.next()));
      } else {
        benchmark::DoNotOptimize(readConversionFloor(bodies.next()));
      }
    }
  } else {
    MarketHoursChart chart;
    MessageLog& log = chart.instance().log();
    chart.call([&](HostStudyInterface& sc) {
      for (auto _ : state) {
        if constexpr (History) {
          benchmark::DoNotOptimize(readMajorsHistory(sc, bodies.next(), kAdditive, kMultiplier));
        } else {
          parseFuturesConversion(sc, bodies.next(), kFuturesTarget);
          log.clear();
        }
      }
    });
  }
  bodies.setCounters(state, History ? snapshots : 1);
}

// `side` is "reader" or "floor"; a history is named by its snapshot count.
std::string nameOf(int snapshots, const char* side) {
  const std::string text = snapshots > 0 ? "majors_history/" + std::to_string(snapshots)
                                         : std::string("futures_conversion");
  return text + "/" + side;
}

// A history is a sizeable text and is summed up in microseconds; a
// conversion answer is a few dozen bytes and is summed up in nanoseconds.
void printServiceTextTable(FigureReporter& figures) {
  bool headed = false;
  for (int snapshots : {kHistorySnapshotCounts[0], kHistorySnapshotCounts[1], 0}) {
    const auto reader = figures.cpuNanoseconds(nameOf(snapshots, "reader"));
    const auto floor = figures.cpuNanoseconds(nameOf(snapshots, "floor"));
    if (!reader || !floor) continue;
    if (!std::exchange(headed, true)) {
      std::printf("\nReaders of service text over a RapidJSON parse and read of the same text"
                  " (median CPU time)\n");
      std::printf("%-7s %9s %9s %11s %11s %9s %12s\n", "reader", "snapshots", "text KiB",
                  "reader ns", "floor ns", "reader/", "reader ns/");
      std::printf("%-7s %9s %9s %11s %11s %9s %12s\n", "", "", "", "", "", "floor", "snapshot");
    }
    const char* kind = snapshots > 0 ? "majors" : "conv";
    const double ratio = *reader / *floor;
    std::printf("%-7s %9s %9.2f %11.0f %11.0f %9.3f", kind,
                snapshots > 0 ? std::to_string(snapshots).c_str() : "-",
                serviceTextCorpus(snapshots).meanBytes() / 1024, *reader, *floor, ratio);
    if (snapshots > 0) {
      std::printf(" %12.1f\n", *reader / snapshots);
      figures.record("history_read_us", kind, snapshots, *reader / 1000);
      figures.record("history_floor_us", kind, snapshots, *floor / 1000);
      figures.record("history_ratio", kind, snapshots, ratio);
    } else {
      std::printf("\n");
      figures.record("conversion_read_ns", kind, 0, *reader);
      figures.record("conversion_floor_ns", kind, 0, *floor);
      figures.record("conversion_ratio", kind, 0, ratio);
    }
  }
  std::fflush(stdout);
}

}  // namespace

FigureTable registerServiceTextBenchmarks() {
  for (int snapshots : kHistorySnapshotCounts) {
    benchmark::RegisterBenchmark(nameOf(snapshots, "floor").c_str(), measureReader<true, true>,
                                 snapshots)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(nameOf(snapshots, "reader").c_str(), measureReader<false, true>,
                                 snapshots)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark(nameOf(0, "floor").c_str(), measureReader<true, false>, 0);
  benchmark::RegisterBenchmark(nameOf(0, "reader").c_str(), measureReader<false, false>, 0);
  return printServiceTextTable;
}
