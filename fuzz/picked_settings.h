// The chart and input settings a parsed snapshot is painted and turned into
// level lines with. They are picked from the snapshot's timestamp: mutating
// the rows keeps the settings, mutating the timestamp tries other settings on
// the same rows, and the same input always draws the same way.
#pragma once

#include <cstdint>
#include <span>

#include "support/drawing_settings.h"

namespace fuzz {

// Which parser the snapshot came from; it decides which kinds are tried most.
enum class SnapshotSource { Gex, Greek };

// The settings for a snapshot with this timestamp; the price range is fitted
// to `strikes` on some picks, so bars land in the plot.
DrawingSettings pickDrawingSettings(int32_t timestamp, SnapshotSource source,
                                    std::span<const float> strikes);

}  // namespace fuzz
