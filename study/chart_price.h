// Where a price of the underlying (a level, a strike) lies on the chart: the
// futures premiums applied in single precision, multiplication first.
#pragma once

#include <cmath>
#include <optional>

namespace tarvio {

// level × multiplier + additive, or none when the level or the result is not a
// finite float (a value the service sent beyond the float range, or premiums
// that carry a level out of it). Such a level is absent: no line, no output.
inline std::optional<float> chartPrice(float level, float multiplier, float additive) {
  const float scaled = level * multiplier;
  const float price = scaled + additive;
  if (!std::isfinite(level) || !std::isfinite(price)) return std::nullopt;
  return price;
}

}  // namespace tarvio
