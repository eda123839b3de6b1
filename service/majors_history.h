// Reads the service's history of the three major levels over the latest
// trading day and writes each snapshot into output series 0 to 2 at the bar
// of its time, so the levels show where they stood before the study's first
// live answer.
#pragma once

#include <cstdint>

#include "data/read_outcome.h"
#include "study/host_interface.h"

// Parsed when an array (or an object carrying "timestamp") was read, Retry
// otherwise; never Halt: a history the service refuses leaves the profile
// requests as they are. Levels are written at their chart price (study/chart_price.h);
// the smallest bar written becomes earliestChangedBarIndex.
tarvio::ReadOutcome readMajorsHistory(HostStudyInterface& sc, const char* text, float additive,
                                      float multiplier);

// The reader's earlier integer answers, kept while callers outside the module
// still compare them.
inline constexpr int32_t kHistoryRead = 0;
inline constexpr int32_t kHistoryNotRead = 2;
inline int32_t parseMajorsHistory(HostStudyInterface& sc, const char* text, float additive,
                                  float multiplier) {
  const tarvio::ReadOutcome outcome = readMajorsHistory(sc, text, additive, multiplier);
  return outcome == tarvio::ReadOutcome::Parsed ? kHistoryRead : kHistoryNotRead;
}
