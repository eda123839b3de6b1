// Checks after one round of major level lines: the drawing key ended past the
// last level of the selected kind, a line is kept at its chart price for each
// of the kind's levels that is set, shown and has a finite price, and every
// drawing the study holds on the chart is a horizontal line that one level
// key keeps, so the study can replace and remove each of them later.
#pragma once

#include <cstdint>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "fuzz/picked_settings.h"
#include "host/study_instance.h"

using namespace chart_host;
using namespace tarvio;

namespace fuzz {

void checkLevelLines(StudyInstance& instance, const DrawingSettings& settings,
                     const GexProfile& gex, const GreekProfile& greek, int32_t nextDrawingKey);

}  // namespace fuzz
