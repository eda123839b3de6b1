// After a profile is parsed: the selected kind's major levels become labelled
// horizontal lines on the chart (persistent keys kFirstDrawingKey and up, in
// processing order), and the levels and the snapshot's summary values are
// written into the output series at the current bar.
#pragma once

#include <cstdint>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "study/host_interface.h"

namespace tarvio {

// The kind is read again from the "Greek" input; `isGreekProfile` is not
// consulted. `nextDrawingKey` starts at kFirstDrawingKey and ends one past the
// last level processed: 5 keys on for GEX, 2 for gamma, none for delta.
void drawMajorLevels(HostStudyInterface& sc, int32_t& nextDrawingKey, int32_t isGreekProfile,
                     const GexProfile& gex, const GreekProfile& greek, float additive,
                     float multiplier);

}  // namespace tarvio
