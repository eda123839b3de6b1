// Carries the output series over to a new bar: when the newest bar has no
// value yet and the bar before it has one, the newest bar repeats the bar
// before, so the levels stay drawn until the next answer writes new ones.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

void carryForwardOutputs(HostStudyInterface& sc, int32_t seriesCount);

}  // namespace tarvio
