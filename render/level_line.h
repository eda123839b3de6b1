// One major level kept as a horizontal-line chart drawing with an optional
// label. The drawing's line number lives under the level's persistent key, so
// the same drawing is replaced on later calls and deleted when the level is 0,
// hidden or of no width.
#pragma once

#include <cstdint>

#include "study/chart_price.h"
#include "study/host_interface.h"

namespace tarvio {

// Settings shared by every level, as the inputs give them on this call.
struct SharedLevelSettings {
  bool copyToOtherCharts;
  bool labelsShown;
  int32_t formatIndex;      // 0 name, 1 value, 2 (and others) name & value
  int32_t horizontalIndex;  // 0 left, 1 right, 2 centre
  int32_t verticalIndex;    // 0 top, 1 bottom, 2 centre
  int32_t fontSize;
  bool transparentBackground;
};

// One level's own settings.
struct LevelLineLook {
  HostColor color;
  int32_t width;
  int32_t styleIndex;  // 0 solid, 1 dash, 2 dot; others solid
  bool shown;
  const char* labelText;
};

// Keeps or removes the drawing under key `nextDrawingKey`, then advances the
// key by one whatever happened.
void drawLevelLine(HostStudyInterface& sc, int32_t& nextDrawingKey, float level,
                   const LevelLineLook& look, const Premiums& premiums,
                   const SharedLevelSettings& shared);

// The label alignment flags: left 0, centre 1, right 2; bottom +8, centre +4.
int32_t labelAlignmentFlags(int32_t horizontalIndex, int32_t verticalIndex);

}  // namespace tarvio
