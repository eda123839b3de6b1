// What the majors-history reader must leave for a text, worked out from the
// reference document: its result, its log line, the three level series and
// earliestChangedBarIndex. Snapshots within the chart's bars are placed on
// bars through the host's own time operations, which the reader relies on in
// the same way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/json_document.h"
#include "study/host_interface.h"
#include "support/record_copy.h"

using namespace tarvio;

namespace fuzz {

inline constexpr const char* kHistoryRefusedLine = "Tarvio History: JSON parse error. Skipping.";
inline constexpr const char* kHistoryMessagePrefix = "Tarvio History: API message: ";
inline constexpr const char* kHistoryErrorPrefix = "Tarvio History: API error: ";
// Output series 0, 1 and 2 take the history's three levels.
inline constexpr int32_t kHistorySeriesCount = 3;
// The reader's result, as the value of its outcome: 0 (parsed) for an array
// or an object carrying "timestamp", 1 (retry) for anything else.
inline constexpr int32_t kHistoryTaken = 0;
inline constexpr int32_t kHistoryNotTaken = 1;

struct HistoryExpectation {
  int32_t result = 0;
  bool logs = false;
  std::string line;
  int32_t alert = 0;
  std::vector<uint32_t> levelBits;  // series 0..2 laid end to end, as in SeriesCopy
  int32_t earliestChangedBarIndex = 0;
};

// Both start from `before`, the series as the record holds them, and the
// record's earliestChangedBarIndex. Text that is not JSON:
HistoryExpectation refusedHistory(const HostStudyInterface& sc, const SeriesCopy& before);
// Runs inside a study call on the chart, before the reader, since it asks the
// host where each snapshot's time falls.
HistoryExpectation expectHistory(HostStudyInterface& sc, const SeriesCopy& before,
                                 const JsonValue& root, float additive, float multiplier);

}  // namespace fuzz
