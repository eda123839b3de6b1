#include "fuzz/majors_history_expectation.h"

#include <algorithm>
#include <cmath>
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

// Whether a chart time lies within the chart's bars: from the first bar's
// time to the end of the last bar, which lasts as long as the step before it
// (a day when there is no step forward). Worked in 128 bits.
bool withinBars(const HostStudyInterface& sc, HostDateTime chartTime) {
  if (sc.barCount <= 0) return false;
  const __int128 last = sc.barDateTimes[sc.barCount - 1];
  const __int128 step = sc.barCount > 1 ? last - sc.barDateTimes[sc.barCount - 2] : 0;
  return chartTime >= sc.barDateTimes[0] && chartTime < last + (step > 0 ? step : kMicrosecondsPerDay);
}

// The bar a snapshot belongs to, or -1 when it is skipped: not an object, no
// integer "timestamp" literal within int64, a time outside the bars, or one
// the host places on no bar.
int32_t barOf(HostStudyInterface& sc, const JsonValue& snapshot) {
  const JsonValue& timestamp = member(snapshot, "timestamp");
  if (!timestamp.IsInt64()) return -1;
  HostDateTime chartTime = 0;
  sc.ops.HostConvertFromTimeZone(chartTime, hostDateTimeOfUnixSeconds(timestamp.GetInt64()),
                                 "UTC+00");
  if (!withinBars(sc, chartTime)) return -1;
  const int32_t bar = sc.ops.HostDateTimeToBarIndex(sc.chartNumber, chartTime);
  return bar >= 0 && bar < sc.barCount ? bar : -1;
}

// Float arithmetic, the product rounded before the sum; NaN for a level or a
// price beyond the float range.
float priceOf(const JsonValue& level, float additive, float multiplier) {
  const float scaled = number(level) * multiplier;
  const float price = scaled + additive;
  return std::isfinite(price) ? price : std::numeric_limits<float>::quiet_NaN();
}

HistoryExpectation unchanged(const HostStudyInterface& sc, const SeriesCopy& before,
                             int32_t result) {
  const auto levels = before.valuesOf(0, kHistorySeriesCount);
  return HistoryExpectation{result, false, "", 0, std::vector<uint32_t>(levels.begin(), levels.end()),
                            sc.earliestChangedBarIndex};
}

void expectSnapshots(HostStudyInterface& sc, const JsonValue& snapshots, float additive,
                     float multiplier, HistoryExpectation& expected) {
  int32_t earliest = sc.barCount;
  for (size_t i = 0; i < elementCount(snapshots); ++i) {
    const JsonValue& snapshot = element(snapshots, i);
    const int32_t bar = barOf(sc, snapshot);
    if (bar < 0) continue;
    // A level with no finite price skips the whole snapshot.
    float prices[kHistorySeriesCount];
    bool skipped = false;
    for (int32_t series = 0; series < kHistorySeriesCount; ++series) {
      const JsonValue& level = member(snapshot, kLevelKeys[series]);
      prices[series] = level.IsNumber() ? priceOf(level, additive, multiplier) : 0.0f;
      skipped = skipped || std::isnan(prices[series]);
    }
    if (skipped) continue;
    earliest = std::min(earliest, bar);
    // Later snapshots on the same bar overwrite, key by key.
    for (int32_t series = 0; series < kHistorySeriesCount; ++series) {
      if (!member(snapshot, kLevelKeys[series]).IsNumber()) continue;
      expected.levelBits[static_cast<size_t>(series * sc.barCount + bar)] = bitsOf(prices[series]);
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
  if (!message.IsString() && !error.IsString()) return;
  expected.logs = true;
  expected.alert = 1;
  const bool fromMessage = message.IsString();
  expected.line = std::string(fromMessage ? kHistoryMessagePrefix : kHistoryErrorPrefix) +
                  asLogged(text(fromMessage ? message : error)) + ". Skipping.";
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
  if (!root.IsArray() && !root.IsObject()) return unchanged(sc, before, kHistoryNotTaken);
  HistoryExpectation expected = unchanged(sc, before, kHistoryTaken);
  if (root.IsArray()) expectSnapshots(sc, root, additive, multiplier, expected);
  if (root.IsObject()) expectObject(root, expected);
  return expected;
}

}  // namespace fuzz
