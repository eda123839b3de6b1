// Where a price of the underlying (a level, a strike) lies on the chart: the
// futures premiums applied in single precision, multiplication first. Every
// level, level line, history snapshot and profile bar is placed through here,
// so they all land on the same price.
#pragma once

#include <cmath>
#include <optional>

namespace tarvio {

// The futures premiums of one call, as the two premium inputs hold them.
struct Premiums {
  float additive;
  float multiplier;
};

// level × multiplier, then + `shift` when there is one (a profile series'
// vertical offset in price units), then + additive, each step rounded to
// float in this order. No shift is not a shift of 0: adding 0 would turn a
// negative zero positive.
inline float premiumPrice(float level, const Premiums& premiums,
                          std::optional<float> shift = std::nullopt) {
  float price = level * premiums.multiplier;
  if (shift) price = price + *shift;
  return price + premiums.additive;
}

// The price of a level, or none when the level or the result is not a finite
// float (a value the service sent beyond the float range, or premiums that
// carry a level out of it). Such a level is absent: no line, no output.
inline std::optional<float> chartPrice(float level, const Premiums& premiums) {
  const float price = premiumPrice(level, premiums);
  if (!std::isfinite(level) || !std::isfinite(price)) return std::nullopt;
  return price;
}

}  // namespace tarvio
