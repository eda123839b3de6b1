// Drawing settings picked from a seed, across the whole range a person could
// set: ordinary ones, plots at the ends of the int32 range or with nothing
// inside, sizes and premiums out of range. The fuzzers seed it with a parsed
// snapshot's timestamp, so mutating the rows keeps the settings, mutating the
// timestamp tries other settings on the same rows, and the same input always
// draws the same way.
#pragma once

#include <cstdint>
#include <span>

#include "support/drawing_settings.h"

// Which parser the snapshot came from; it decides which kinds are tried most.
enum class SnapshotSource { Gex, Greek };

// The settings for `seed`; the price range is fitted
// to `strikes` on some picks, so bars land in the plot.
DrawingSettings pickDrawingSettings(int32_t seed, SnapshotSource source,
                                    std::span<const float> strikes);
