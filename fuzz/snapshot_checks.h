// Checks that hold for any snapshot a profile parser leaves, whatever the
// response: the ticker is a well-formed host text and no number is infinite.
// NaN is legitimate: a number beyond the float range, or a prior a row did not
// give, is absent.
#pragma once

#include <cmath>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
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

inline void checkNoInfinity(const std::vector<float>& values) {
  for (float value : values) FUZZ_CHECK(!std::isinf(value));
}

// Equal value for value, absent where the other is absent.
inline bool sameValues(const std::vector<float>& a, const std::vector<float>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](float x, float y) { return x == y || (std::isnan(x) && std::isnan(y)); });
}

// Everything a profile holds, down to where its ticker's buffer sits; the
// numbers by their bits, table after table, each led by its length, so copies
// compare equal only when nothing changed, absent values included.
struct ProfileCopy {
  int32_t timestamp;
  const char* tickerBuffer;
  uint32_t tickerLength;
  uint8_t tickerOwned;
  uint8_t tickerChanged;
  std::string ticker;
  std::vector<uint32_t> numbers;

  bool operator==(const ProfileCopy&) const = default;
};

inline ProfileCopy copyOfTicker(int32_t timestamp, const HostString& t) {
  return ProfileCopy{timestamp, t.text, t.length, t.owned, t.changed, hostStringText(t), {}};
}

inline void appendBits(ProfileCopy& copy, const std::vector<float>& table) {
  copy.numbers.push_back(static_cast<uint32_t>(table.size()));
  for (float value : table) copy.numbers.push_back(std::bit_cast<uint32_t>(value));
}

// The snapshot alone: the ticker's buffer and changed flag depend on what the
// profile held before.
inline ProfileCopy contentOf(ProfileCopy copy) {
  copy.tickerBuffer = nullptr;
  copy.tickerChanged = 0;
  return copy;
}

// The largest absolute value, 0 for none, absent values passed over: the
// base of a bar-scale maximum.
inline float largestMagnitude(const std::vector<float>& values) {
  float largest = 0;
  for (float value : values)
    if (std::fabs(value) > largest) largest = std::fabs(value);
  return largest;
}
