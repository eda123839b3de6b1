// The strikes of one profile series that get a bar, in drawing order: the
// positive values largest first, then the negative values most negative
// first, each side cut to its N largest (N of 0 or below keeps the side whole).
// Runs on every repaint and changes nothing in the profile.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tarvio {

struct ProfileEntry {
  float strike;
  float value;
  int32_t index;  // position in the profile's strike list, for its priors
};

// Zero and NaN values are dropped. Values beyond the strike list are ignored;
// strikes without a value are not drawn. Order among equal values is not fixed.
std::vector<ProfileEntry> filterTopN(std::span<const float> strikes, std::span<const float> values,
                                     int32_t positiveCount, int32_t negativeCount);

}  // namespace tarvio
