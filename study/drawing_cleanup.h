// Removal of the chart drawings the study placed. Level lines belong to the
// host once placed; the study remembers their line numbers under persistent
// keys kFirstDrawingKey and up (kLastDrawingKeyKey holds the highest key
// used) and removes them here.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

// Deletes every line remembered under keys kFirstDrawingKey to the highest key
// used and forgets them.
void deleteKeptDrawings(HostStudyInterface& sc);

// On a full recalculation: removes leftover text drawings of earlier versions
// (kind codes 12 and 39) the host still shows, then the kept lines. Bounded:
// at most 10000 deletions or 20000 look-ups.
void sweepStudyDrawings(HostStudyInterface& sc);

// All of the study's drawings: the host's own record of them, then the kept lines.
void removeAllStudyDrawings(HostStudyInterface& sc);

}  // namespace tarvio
