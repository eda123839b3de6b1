// The families of the "Greek" input's profile kinds, as drawing and levels
// tell them apart: 0..2 (and anything below) GEX, 3..4 gamma, 5..6 delta;
// any kind above 6 draws nothing.
#pragma once

#include <cstdint>

namespace tarvio {

enum class ProfileKindFamily { Gex, Gamma, Delta, None };

constexpr ProfileKindFamily familyOfKind(int32_t kind) {
  if (kind <= 2) return ProfileKindFamily::Gex;
  if (kind <= 4) return ProfileKindFamily::Gamma;
  if (kind <= 6) return ProfileKindFamily::Delta;
  return ProfileKindFamily::None;
}

}  // namespace tarvio
