// Sizing and filling the float tables of a profile.
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "data/json_reading.h"

namespace tarvio {

// The value of a table cell the response did not give: draws nothing and
// takes no part in any maximum.
inline constexpr float kAbsentValue = std::numeric_limits<float>::quiet_NaN();

// Resizes `table` to `size` elements whose old values the refill overwrites.
// A table that fits keeps its block (no zero-fill, no allocation); one that
// does not is emptied first so the new block is exactly `size` long instead
// of a doubled one.
inline void resizeForRefill(std::vector<float>& table, size_t size) {
  if (size > table.capacity()) table.clear();
  table.resize(size);
}

// Writes one row's priors into its own `slots` cells at `out` and returns the
// maximum raised by each prior read in turn. Every row keeps exactly one cell
// per prior interval: a row that carries fewer priors leaves the rest absent
// and extra values are not read, so one odd row cannot move the dots of the
// rows after it onto other intervals or strikes. The maximum is passed by
// value so that the stores into `out` cannot alias it and it stays in a
// register.
inline float fillRowPriors(JsonElements rowPriors, float* out, size_t slots, float maximum) {
  const size_t given = rowPriors.size() < slots ? rowPriors.size() : slots;
  for (size_t k = 0; k < given; ++k) {
    const float prior = jsonFloat(rowPriors.first[k]);
    if (std::fabs(prior) > maximum) maximum = std::fabs(prior);
    out[k] = prior;
  }
  for (size_t k = given; k < slots; ++k) out[k] = kAbsentValue;
  return maximum;
}

}  // namespace tarvio
