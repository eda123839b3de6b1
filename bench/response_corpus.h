// The documents a measurement cycles through: kCorpusDocuments different
// response bodies per kind and size. Cycling matters: one document parsed
// over and over is learnt by the branch predictor and reads about twice as
// fast as a stream of fresh answers does.
// Not thread-safe: built on first use by the measuring thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bench/profile_response_generator.h"

inline constexpr int kCorpusDocuments = 32;

struct ResponseCorpus {
  ProfileKind kind;
  int rows;
  std::vector<std::string> bodies;
  std::size_t totalBytes = 0;
  // Empty when the bodies are all different and each one reads as a snapshot
  // of `rows` rows; otherwise what went wrong, and nothing is worth measuring.
  std::string problem;

  double meanBytes() const { return static_cast<double>(totalBytes) / bodies.size(); }
};

// Built and checked once, outside any timing, then kept for the program's life.
const ResponseCorpus& responseCorpus(ProfileKind kind, int rows);
