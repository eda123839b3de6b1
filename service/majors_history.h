// Reads the service's history of the three major levels over the latest
// trading day and writes each snapshot into output series 0 to 2 at the bar
// of its time, so the levels show where they stood before the study's first
// live answer.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

inline constexpr int32_t kHistoryRead = 0;
inline constexpr int32_t kHistoryNotRead = 2;

// kHistoryRead when an array (or an object carrying "timestamp") was read,
// kHistoryNotRead otherwise. Levels are written as level x multiplier +
// additive; the smallest bar written becomes earliestChangedBarIndex.
int32_t parseMajorsHistory(HostStudyInterface& sc, const char* text, float additive,
                           float multiplier);

}  // namespace tarvio
