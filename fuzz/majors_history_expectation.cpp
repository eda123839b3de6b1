#include "fuzz/majors_history_expectation.h"

#include <algorithm>
#include <limits>

#include "fuzz/reference_reading.h"

namespace fuzz {

namespace {

constexpr const char* kLevelKeys[kHistorySeriesCount] = {"major_call_gamma", "major_put_gamma",
                                                         "zero_gamma"};

// Unix seconds as a HostDateTime: 0 stays the empty date-time, and what lies
// beyond the int64 range takes its nearest end. Worked in 128 bits, so it
// needs no overflow reasoning of its own.
HostDateTime hostDateTimeOfUnixSeconds(int64_t seconds) {
  if (seconds == 0) return 0;
  const __int128 epoch = static_cast<__int128>(25569) * 86400 * 1000000;
  const __int128 time = static_cast<__int128>(seconds) * 1000000 + epoch;
  const __int128 lowest = std::numeric_limits<int64_t>::min();
  const __int128 highest = std::numeric_limits<int64_t>::max();
  return static_cast<HostDateTime>(std::clamp(time, lowest, highest));
}

// The bar a snapshot belongs to, or -1 when it is skipped: not an object, no
// integer "timestamp" literal within int64, or a time the host places on no bar.
int32_t barOf(HostStudyInterface& sc, const JsonValue& snapshot) {
  const JsonValue& timestamp = member(snapshot, "timestamp");
  if (!timestamp.IsInt64()) return -1;
  HostDateTime chartTime = 0;
  sc.ops.HostConvertFromTimeZone(chartTime, hostDateTimeOfUnixSeconds(timestamp.GetInt64()),
                                 "UTC+00");
  const int32_t bar = sc.ops.HostDateTimeToBarIndex(sc.chartNumber, chartTime);
  return bar >= 0 && bar < sc.barCount ? bar : -1;
}

// Float arithmetic, the product rounded before the sum.
float priceOf(const JsonValue& level, float additive, float multiplier) {
  const float scaled = static_cast<float>(level.GetDouble()) * multiplier;
  return scaled + additive;
}

HistoryExpectation unchanged(const HostStudyInterface& sc, const SeriesCopy& before,
                             int32_t result) {
  const auto levels = before.valuesOf(0, kHistorySeriesCount);
  return HistoryExpectation{result,
                            false,
                            "",
                            0,
                            std::vector<uint32_t>(levels.begin(), levels.end()),
                            sc.earliestChangedBarIndex};
}

void expectSnapshots(HostStudyInterface& sc, const JsonValue& snapshots, float additive,
                     float multiplier, HistoryExpectation& expected) {
  int32_t earliest = sc.barCount;
  for (size_t i = 0; i < elementCount(snapshots); ++i) {
    const JsonValue& snapshot = element(snapshots, i);
    const int32_t bar = barOf(sc, snapshot);
    if (bar < 0) continue;
    earliest = std::min(earliest, bar);
    // Later snapshots on the same bar overwrite, key by key.
    for (int32_t series = 0; series < kHistorySeriesCount; ++series) {
      const JsonValue& level = member(snapshot, kLevelKeys[series]);
      if (!level.IsNumber()) continue;
      const size_t slot = static_cast<size_t>(series) * static_cast<size_t>(sc.barCount);
      expected.levelBits[slot + static_cast<size_t>(bar)] =
          bitsOf(priceOf(level, additive, multiplier));
    }
  }
  if (earliest < sc.barCount) expected.earliestChangedBarIndex = earliest;
}

// An object instead of the array: a lone snapshot is taken as read and left
// unused; otherwise the service's message, or else its error, is logged.
void expectObject(const JsonValue& object, HistoryExpectation& expected) {
  if (object.FindMember("timestamp") != object.MemberEnd()) return;
  expected.result = kHistoryNotTaken;
  const JsonValue& message = member(object, "message");
  const JsonValue& error = member(object, "error");
  if (message.IsString() || error.IsString()) {
    expected.logs = true;
    expected.alert = 1;
  }
  if (message.IsString()) {
    expected.line = kHistoryMessagePrefix + text(message) + ". Skipping.";
  } else if (error.IsString()) {
    expected.line = kHistoryErrorPrefix + text(error) + ". Skipping.";
  }
}

}  // namespace

HistoryExpectation refusedHistory(const HostStudyInterface& sc, const SeriesCopy& before) {
  HistoryExpectation expected = unchanged(sc, before, kHistoryNotTaken);
  expected.logs = true;
  expected.line = kHistoryRefusedLine;
  return expected;
}

HistoryExpectation expectHistory(HostStudyInterface& sc, const SeriesCopy& before,
                                 const JsonValue& root, float additive, float multiplier) {
  if (root.IsArray()) {
    HistoryExpectation expected = unchanged(sc, before, kHistoryTaken);
    expectSnapshots(sc, root, additive, multiplier, expected);
    return expected;
  }
  if (root.IsObject()) {
    HistoryExpectation expected = unchanged(sc, before, kHistoryTaken);
    expectObject(root, expected);
    return expected;
  }
  return unchanged(sc, before, kHistoryNotTaken);
}

}  // namespace fuzz
