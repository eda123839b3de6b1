// Fuzzes readMajorsHistory on a chart of one-minute bars, now and then on one
// without bars: the output series start at sentinels, the premiums vary with
// the input, and the result, the log and every series are judged against the
// reference reading of the text.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_host.h"
#include "fuzz/majors_history_expectation.h"
#include "fuzz/reference_reading.h"
#include "service/majors_history.h"
#include "support/record_copy.h"

using namespace tarvio;

namespace {

using fuzz::HistoryExpectation;
using fuzz::kHistorySeriesCount;

struct HistorySettings {
  float additive;
  float multiplier;  // above 0 and finite, as the study keeps it
  bool withoutBars;  // on the chart without bars, where no snapshot has a bar
};
// Plain, a futures basis, a ratio, ones that push levels past float range or
// towards its bottom, and one in eight on the chart without bars.
constexpr std::array<HistorySettings, 8> kSettings = {{
    {0.0f, 1.0f, false}, {30.0f, 1.0f, false}, {-12.5f, 1.001f, false}, {148.25f, 0.9993f, false},
    {-3.0e38f, 2.0f, false}, {0.001f, 7.5f, false}, {0.0f, 1.0e-30f, false}, {30.0f, 1.0f, true}}};

// No reader answer sets it: it marks earliestChangedBarIndex as untouched.
constexpr int32_t kEarliestSentinel = -7;

// The series every call on a chart starts from: a value of its own for every
// slot and bar, so that any write shows, and the colours as the host keeps
// them. One per chart, told apart by their bar counts.
const SeriesCopy& startingSeries(const HostStudyInterface& sc) {
  static std::map<int32_t, SeriesCopy> starts;
  auto [start, added] = starts.try_emplace(sc.barCount);
  if (added) {
    SeriesCopy& series = start->second;
    FUZZ_CHECK(seriesMatchBars(sc));
    copySeries(sc, series);
    for (int32_t slot = 0; slot < sc.subgraphCount; ++slot)
      for (int32_t bar = 0; bar < sc.barCount; ++bar)
        series.valueBits[slot * sc.barCount + bar] = bitsOf(-static_cast<float>(slot * 4096 + bar) - 0.25f);
  }
  return start->second;
}

void presetSeries(HostStudyInterface& sc, const SeriesCopy& start) {
  sc.earliestChangedBarIndex = kEarliestSentinel;
  if (sc.barCount == 0) return;
  const auto bars = static_cast<size_t>(sc.barCount);
  for (int32_t slot = 0; slot < sc.subgraphCount; ++slot)
    std::memcpy(sc.subgraphs[slot].values, start.valuesOf(slot, slot + 1).data(),
                bars * sizeof(float));
}

// What one reader call did. Kept for the run, so its copies reuse storage.
struct HistoryCall {
  const SeriesCopy* before = nullptr;
  SeriesCopy after;
  std::vector<HostInput> inputsBefore, inputsAfter;
  int32_t result = -1;
  int32_t earliestChangedBarIndex = 0;

  std::span<const uint32_t> levelsBefore() const { return before->valuesOf(0, kHistorySeriesCount); }
  std::span<const uint32_t> levelsAfter() const { return after.valuesOf(0, kHistorySeriesCount); }
};

// The earliest bar at which a level series differs, or barCount.
int32_t firstWrittenBar(const HistoryCall& call) {
  const int32_t bars = call.after.barCount;
  int32_t first = bars;
  for (int32_t slot = 0; slot < kHistorySeriesCount; ++slot) {
    const auto was = call.before->valuesOf(slot, slot + 1);
    const auto is = call.after.valuesOf(slot, slot + 1);
    const auto differ = std::mismatch(was.begin(), was.end(), is.begin()).first;
    first = std::min(first, static_cast<int32_t>(differ - was.begin()));
  }
  return first;
}

// What holds whatever the text.
void checkAnyAnswer(const HistoryCall& call) {
  FUZZ_CHECK(call.result == fuzz::kHistoryTaken || call.result == fuzz::kHistoryNotTaken);
  FUZZ_CHECK(identical(call.inputsAfter, call.inputsBefore));
  // Only the values of the three level series may change.
  FUZZ_CHECK(call.after.colors == call.before->colors);
  const int32_t slots = call.after.slotCount;
  FUZZ_CHECK(std::ranges::equal(call.after.valuesOf(kHistorySeriesCount, slots),
                      call.before->valuesOf(kHistorySeriesCount, slots)));

  const auto& lines = loggedLines();
  FUZZ_CHECK(lines.size() <= 1);
  if (!lines.empty()) {
    const std::string& line = lines[0].text;
    FUZZ_CHECK(call.result == fuzz::kHistoryNotTaken);
    const bool refusal = line == fuzz::kHistoryRefusedLine && lines[0].alert == 0;
    const bool refusedByService =
        lines[0].alert == 1 && (line.starts_with(fuzz::kHistoryMessagePrefix) ||
                                line.starts_with(fuzz::kHistoryErrorPrefix));
    FUZZ_CHECK(refusal || refusedByService);
  }
  if (call.result == fuzz::kHistoryNotTaken) {
    FUZZ_CHECK(std::ranges::equal(call.levelsAfter(), call.levelsBefore()));
    FUZZ_CHECK(call.earliestChangedBarIndex == kEarliestSentinel);
  }
  // The host redraws from earliestChangedBarIndex on: no bar written lies before it.
  const int32_t firstWritten = firstWrittenBar(call);
  if (firstWritten < call.after.barCount) {
    FUZZ_CHECK(call.earliestChangedBarIndex >= 0);
    FUZZ_CHECK(call.earliestChangedBarIndex <= firstWritten);
  } else if (call.earliestChangedBarIndex != kEarliestSentinel) {
    FUZZ_CHECK(call.earliestChangedBarIndex >= 0 &&
               call.earliestChangedBarIndex < call.after.barCount);
  }
}

// Whether the call gave the result, log line, series and
// earliestChangedBarIndex `expected` says; when `enforced`, the first part
// that differs ends the run.
bool leftAs(const HistoryExpectation& expected, const HistoryCall& call, bool enforced) {
  const auto& lines = loggedLines();
  FUZZ_EXPECT(enforced, call.result == expected.result);
  FUZZ_EXPECT(enforced, lines.size() == (expected.logs ? 1u : 0u));
  if (expected.logs) {
    FUZZ_EXPECT(enforced, lines[0].text == expected.line);
    FUZZ_EXPECT(enforced, lines[0].alert == expected.alert);
  }
  FUZZ_EXPECT(enforced, std::ranges::equal(call.levelsAfter(), expected.levelBits));
  FUZZ_EXPECT(enforced, call.earliestChangedBarIndex == expected.earliestChangedBarIndex);
  return true;
}

void checkHistory(const char* text, const HistorySettings& settings,
                  const fuzz::ReferenceReading& reading) {
  HistoryExpectation expected, refused;
  static HistoryCall call;
  call.result = -1;
  callReader(readerChart(!settings.withoutBars), [&](HostStudyInterface& sc) {
    call.before = &startingSeries(sc);
    presetSeries(sc, *call.before);
    copyInputs(sc, call.inputsBefore);
    // Worked out before the reader runs, from the same starting state.
    refused = fuzz::refusedHistory(sc, *call.before);
    if (!reading.surelyRefused() && reading.read) {
      expected = fuzz::expectHistory(sc, *call.before, reading.document, settings.additive,
                                     settings.multiplier);
    }
    call.result = static_cast<int32_t>(readMajorsHistory(sc, text, settings.additive, settings.multiplier));
    FUZZ_CHECK(seriesMatchBars(sc));
    copySeries(sc, call.after);
    copyInputs(sc, call.inputsAfter);
    call.earliestChangedBarIndex = sc.earliestChangedBarIndex;
  });
  checkAnyAnswer(call);

  fuzz::judgeByReading(reading, refused, expected, [&](const HistoryExpectation& e, bool enforced) {
    return leftAs(e, call, enforced);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::checkReaderInput(data, size, kSettings, checkHistory);
  return 0;
}
