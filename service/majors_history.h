// Reads the service's history of the three major levels over the latest
// trading day and writes each snapshot into output series 0 to 2 at the bar
// of its time, so the levels show where they stood before the study's first
// live answer.
#pragma once

#include <cstdint>

#include "data/read_outcome.h"
#include "study/host_interface.h"

namespace tarvio {

// Parsed when an array (or an object carrying "timestamp") was read, Retry
// otherwise; never Halt: a history the service refuses leaves the profile
// requests as they are. Levels are written at their chart price (study/chart_price.h);
// the smallest bar written becomes earliestChangedBarIndex.
tarvio::ReadOutcome readMajorsHistory(HostStudyInterface& sc, const char* text, float additive,
                                      float multiplier);


}  // namespace tarvio
