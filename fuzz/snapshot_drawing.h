// What a parsed snapshot looks like on a chart: painted by the study's
// graphics callback and turned into major level lines, on the run's chart,
// with settings picked from its timestamp. The other profile the study needs
// is an empty one. Every primitive and every level line is checked.
#pragma once

#include "data/gex_profile.h"
#include "data/greek_profile.h"

using namespace tarvio;

void checkSnapshotDrawing(const GexProfile& profile);
void checkSnapshotDrawing(const GreekProfile& profile);
