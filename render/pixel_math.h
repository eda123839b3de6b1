// Conversions into pixel coordinates that cannot overflow. The host may hand
// plotting areas near the ends of the int32 range and a profile may hold
// infinite values, so every float-to-pixel step and every pixel sum that could
// leave the int32 range saturates instead.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvio {

inline constexpr int32_t kLowestPixel = std::numeric_limits<int32_t>::min();
inline constexpr int32_t kHighestPixel = std::numeric_limits<int32_t>::max();

// Truncates toward zero; NaN reads as 0 and out-of-range values saturate.
inline int32_t truncateToPixel(float value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<float>(kLowestPixel)) return kLowestPixel;
  // 2^31 is the first float above the int32 range.
  if (value >= 2147483648.0f) return kHighestPixel;
  return static_cast<int32_t>(value);
}

inline int32_t clampToPixel(int64_t value) {
  if (value < kLowestPixel) return kLowestPixel;
  if (value > kHighestPixel) return kHighestPixel;
  return static_cast<int32_t>(value);
}

// a + b, saturated.
inline int32_t addPixels(int32_t a, int64_t b) { return clampToPixel(static_cast<int64_t>(a) + b); }

}  // namespace tarvio
