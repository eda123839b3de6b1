// Checks that hold for any snapshot a profile parser leaves, whatever the
// response: the ticker is a well-formed host text and no number is NaN.
// Infinities are legitimate: a finite double beyond float range rounds to one.
#pragma once

#include <cmath>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "study/host_interface.h"

inline void checkTicker(const HostString& ticker) {
  FUZZ_CHECK((ticker.text == nullptr) == (ticker.length == 0));
  if (ticker.text == nullptr) return;
  FUZZ_CHECK(ticker.owned == 1);
  FUZZ_CHECK(ticker.text[ticker.length] == '\0');
  FUZZ_CHECK(std::strlen(ticker.text) == ticker.length);
}

inline void checkNoNaN(const std::vector<float>& values) {
  for (float value : values) FUZZ_CHECK(!std::isnan(value));
}

// The largest absolute value, 0 for none: the base of a bar-scale maximum.
inline float largestMagnitude(const std::vector<float>& values) {
  float largest = 0;
  for (float value : values)
    if (std::fabs(value) > largest) largest = std::fabs(value);
  return largest;
}
