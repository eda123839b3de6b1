// One fuzz input as a reader of service text meets it: the bytes as response
// text, their reference reading, and the setting the fuzzer takes besides the
// text (a futures target, the premiums), picked by a hash of all the input's
// bytes, so the same input always picks the same and a mutation may move on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_host.h"
#include "fuzz/reference_reading.h"

namespace fuzz {

template <class T>
const T& pickByInput(std::span<const T> choices, const uint8_t* data, size_t size) {
  uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ULL;
  return choices[hash % choices.size()];
}

// Calls `check(text, setting, reading)` for the input; an empty input is
// checked again as a missing text, which must read as the empty one.
template <class Setting, size_t kCount, class Check>
void checkReaderInput(const uint8_t* data, size_t size, const std::array<Setting, kCount>& settings,
                      const Check& check) {
  const auto text = responseText(data, size);
  ReferenceReading reading;
  readReference(text.get(), reading);
  const Setting& setting = pickByInput(std::span<const Setting>(settings), data, size);
  check(text.get(), setting, reading);
  if (size == 0) check(nullptr, setting, reading);
}

}  // namespace fuzz
