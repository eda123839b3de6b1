// Settings a fuzzer takes from its input besides the text the reader sees
// (a futures target, the premiums): picked by a hash of all the input's
// bytes, so the same input always picks the same and a mutation may move on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace fuzz {

template <class T>
const T& pickByInput(std::span<const T> choices, const uint8_t* data, size_t size) {
  uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ULL;
  return choices[hash % choices.size()];
}

}  // namespace fuzz
