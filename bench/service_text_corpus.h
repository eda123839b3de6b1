// The answers the service-text benchmarks cycle through: kCorpusDocuments
// different majors histories per size, and as many futures conversions, for
// the branch predictor's sake as in response_corpus.h. Each is checked to be
// read whole by both its reader and its floor, so no figure times an early
// exit. Not thread-safe: built on first use by the measuring thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr int kHistorySnapshotCounts[] = {390, 1560};

struct ServiceTextCorpus {
  std::vector<std::string> bodies;
  std::size_t totalBytes = 0;
  // Empty when every body is different and read whole; otherwise what went
  // wrong, and nothing is worth measuring.
  std::string problem;

  double meanBytes() const { return static_cast<double>(totalBytes) / bodies.size(); }
};

// Built and checked once, outside any timing, then kept for the program's life.
const ServiceTextCorpus& historyCorpus(int snapshots);
const ServiceTextCorpus& conversionCorpus();
