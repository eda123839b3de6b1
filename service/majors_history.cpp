#include "service/majors_history.h"

#include <array>
#include <iterator>
#include <optional>

#include "data/answer_text_alert.h"
#include "data/json_reading.h"
#include "study/chart_price.h"
#include "study/date_time.h"
#include "study/host_calls.h"
#include "study/study_log.h"
#include "study/time_zone_table.h"

namespace tarvio {

namespace {

// Snapshot keys, each at the index of the output series it fills.
constexpr const char* kHistoryKeys[] = {"major_call_gamma", "major_put_gamma", "zero_gamma"};

// Whether a chart time lies on the chart: from the first bar's time up to the
// end of the last bar's period. The host's bar lookup is not relied on for
// this: hosts commonly answer the nearest bar, which would put a snapshot of
// time 0, of another year or in milliseconds onto the first or last bar.
bool onChart(const HostStudyInterface& sc, HostDateTime chartTime) {
  if (sc.barCount <= 0 || sc.barDateTimes == nullptr) return false;
  const HostDateTime first = sc.barDateTimes[0];
  const HostDateTime last = sc.barDateTimes[sc.barCount - 1];
  if (chartTime < first) return false;
  // A bar lasts as long as the step from the bar before it; a lone bar (or one
  // without a later time than its neighbour) is taken to last a day.
  int64_t period = sc.barCount >= 2 ? elapsedMicroseconds(last, sc.barDateTimes[sc.barCount - 2]) : 0;
  if (period <= 0) period = kMicrosecondsPerDay;
  HostDateTime lastEnd = 0;
  if (__builtin_add_overflow(last, period, &lastEnd)) return true;
  return chartTime < lastEnd;
}

// The chart bar of a snapshot, or -1 when it has no usable time or falls
// outside the chart.
int32_t barOfSnapshot(HostStudyInterface& sc, const JsonValue& snapshot) {
  HostCalls host(sc);
  if (!isJsonObject(snapshot) || snapshot.MemberCount() == 0) return -1;
  const JsonValue& timestamp = jsonMember(snapshot, "timestamp");
  if (!isJsonInt64(timestamp)) return -1;
  const HostDateTime utc = UnixSecondsToHostDateTime(jsonInt64(timestamp));
  HostDateTime chartTime = 0;
  host.convertFromTimeZone(chartTime, utc, kUtcZoneText);
  if (!onChart(sc, chartTime)) return -1;
  const int32_t bar = host.dateTimeToBarIndex(sc.chartNumber, chartTime);
  return bar >= 0 && bar < sc.barCount ? bar : -1;
}

// The chart prices of one snapshot, one per series (none where the key is
// missing or not a number).
using SnapshotPrices = std::array<std::optional<float>, std::size(kHistoryKeys)>;

// None when a level the snapshot carries is beyond the float range or the
// premiums carry it there: such a snapshot is skipped whole.
std::optional<SnapshotPrices> snapshotPrices(const JsonValue& snapshot, const Premiums& premiums) {
  SnapshotPrices prices{};
  for (std::size_t i = 0; i < prices.size(); ++i) {
    const JsonValue& level = jsonMember(snapshot, kHistoryKeys[i]);
    if (!level.IsNumber()) continue;
    prices[i] = chartPrice(jsonFloat(level), premiums);
    if (!prices[i]) return std::nullopt;
  }
  return prices;
}

tarvio::ReadOutcome readSnapshots(HostStudyInterface& sc, const JsonValue& snapshots,
                                  const Premiums& premiums) {
  int32_t lowest = sc.barCount;
  for (const JsonValue& snapshot : jsonArray(snapshots)) {
    const int32_t bar = barOfSnapshot(sc, snapshot);
    if (bar < 0) continue;
    const std::optional<SnapshotPrices> prices = snapshotPrices(snapshot, premiums);
    if (!prices) continue;
    if (bar < lowest) lowest = bar;
    for (std::size_t i = 0; i < prices->size(); ++i) {
      const int32_t series = static_cast<int32_t>(i);
      if ((*prices)[i]) subgraphValueAt(subgraphAt(sc, series), bar) = *(*prices)[i];
    }
  }
  if (lowest < sc.barCount) sc.earliestChangedBarIndex = lowest;
  return tarvio::ReadOutcome::Parsed;
}

// An object in place of the array: the service refusing, or a lone snapshot
// that is not used.
tarvio::ReadOutcome readRefusal(HostStudyInterface& sc, const JsonValue& object) {
  if (object.MemberCount() == 0) return tarvio::ReadOutcome::Retry;
  if (object.HasMember("timestamp")) return tarvio::ReadOutcome::Parsed;
  // A message says more than an error, so only the message is logged when
  // there are both.
  if (!tarvio::alertMemberText(sc, object, "message",
                               "Tarvio History: API message: %s. Skipping.")) {
    tarvio::alertMemberText(sc, object, "error", "Tarvio History: API error: %s. Skipping.");
  }
  return tarvio::ReadOutcome::Retry;
}

}  // namespace

tarvio::ReadOutcome readMajorsHistory(HostStudyInterface& sc, const char* text, float additive,
                                      float multiplier) {
  ResponseDocument document;
  if (!parseResponseJson(text, document)) {
    logMessage(sc, kLogNote, "Tarvio History: JSON parse error. Skipping.");
    return tarvio::ReadOutcome::Retry;
  }
  if (document.IsArray()) return readSnapshots(sc, document, Premiums{additive, multiplier});
  if (isJsonObject(document)) return readRefusal(sc, document);
  return tarvio::ReadOutcome::Retry;
}

}  // namespace tarvio
