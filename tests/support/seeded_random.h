// A small seeded random source for generated answers and picked settings:
// splitmix64, fully defined, so a seed names the same sequence with every
// compiler and standard library (the std distributions do not).
#pragma once

#include <cstddef>
#include <cstdint>

class SeededRandom {
 public:
  explicit SeededRandom(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // Uniform in low..high, both included.
  int between(int low, int high) {
    return low + static_cast<int>(next() % static_cast<uint64_t>(high - low + 1));
  }

  bool coin() { return (next() & 1) != 0; }
  bool oneIn(uint64_t n) { return next() % n == 0; }

  template <class T, std::size_t N>
  T from(const T (&table)[N]) {
    return table[next() % N];
  }

 private:
  uint64_t state_;
};
