#include "service/majors_history.h"

#include "data/json_reading.h"
#include "study/date_time.h"
#include "study/study_log.h"
#include "study/time_zone_table.h"

namespace {

// Snapshot key and the output series it fills.
struct HistorySeries {
  const char* key;
  int32_t subgraph;
};
constexpr HistorySeries kHistorySeries[] = {
    {"major_call_gamma", 0},
    {"major_put_gamma", 1},
    {"zero_gamma", 2},
};

// The chart bar of a snapshot, or -1 when it has no usable time or falls
// outside the chart.
int32_t barOfSnapshot(HostStudyInterface& sc, const JsonValue& snapshot) {
  if (!isJsonObject(snapshot) || snapshot.MemberCount() == 0) return -1;
  const JsonValue& timestamp = jsonMember(snapshot, "timestamp");
  if (!isJsonInt64(timestamp)) return -1;
  const HostDateTime utc = UnixSecondsToHostDateTime(jsonInt64(timestamp));
  HostDateTime chartTime = 0;
  sc.ops.HostConvertFromTimeZone(chartTime, utc, kUtcZoneText);
  const int32_t bar = sc.ops.HostDateTimeToBarIndex(sc.chartNumber, chartTime);
  return bar >= 0 && bar < sc.barCount ? bar : -1;
}

void writeSnapshot(HostStudyInterface& sc, const JsonValue& snapshot, int32_t bar, float additive,
                   float multiplier) {
  for (const HistorySeries& series : kHistorySeries) {
    const JsonValue& level = jsonMember(snapshot, series.key);
    if (!level.IsNumber()) continue;
    subgraphValueAt(subgraphAt(sc, series.subgraph), bar) =
        static_cast<float>(level.GetDouble()) * multiplier + additive;
  }
}

int32_t readSnapshots(HostStudyInterface& sc, const JsonValue& snapshots, float additive,
                      float multiplier) {
  int32_t lowest = sc.barCount;
  for (const JsonValue& snapshot : jsonArray(snapshots)) {
    const int32_t bar = barOfSnapshot(sc, snapshot);
    if (bar < 0) continue;
    if (bar < lowest) lowest = bar;
    writeSnapshot(sc, snapshot, bar, additive, multiplier);
  }
  if (lowest < sc.barCount) sc.earliestChangedBarIndex = lowest;
  return kHistoryRead;
}

// An object in place of the array: the service refusing, or a lone snapshot
// that is not used.
int32_t readRefusal(HostStudyInterface& sc, const JsonValue& object) {
  if (object.MemberCount() == 0) return kHistoryNotRead;
  if (object.HasMember("timestamp")) return kHistoryRead;
  const JsonValue& message = jsonMember(object, "message");
  if (isJsonString(message)) {
    logMessage(sc, kLogAlert, "Tarvio History: API message: %s. Skipping.", jsonText(message));
    return kHistoryNotRead;
  }
  const JsonValue& error = jsonMember(object, "error");
  if (isJsonString(error)) {
    logMessage(sc, kLogAlert, "Tarvio History: API error: %s. Skipping.", jsonText(error));
  }
  return kHistoryNotRead;
}

}  // namespace

int32_t parseMajorsHistory(HostStudyInterface& sc, const char* text, float additive,
                           float multiplier) {
  ResponseDocument document;
  if (!parseResponseJson(text, document)) {
    logMessage(sc, kLogNote, "Tarvio History: JSON parse error. Skipping.");
    return kHistoryNotRead;
  }
  if (document.IsArray()) return readSnapshots(sc, document, additive, multiplier);
  if (isJsonObject(document)) return readRefusal(sc, document);
  return kHistoryNotRead;
}
