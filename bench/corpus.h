// The answers a measurement cycles through: kCorpusDocuments different
// generated bodies of one kind and size. Cycling matters: one document read
// over and over is learnt by the branch predictor and reads about twice as
// fast as a stream of fresh answers does.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

inline constexpr int kCorpusDocuments = 32;

struct Corpus {
  std::vector<std::string> bodies;
  std::size_t totalBytes = 0;
  // Empty when the bodies are all different and each is read whole;
  // otherwise what went wrong, and nothing is worth measuring.
  std::string problem;

  double meanBytes() const { return static_cast<double>(totalBytes) / bodies.size(); }
};

// The bodies of seeds 1 to kCorpusDocuments, checked to be all different.
template <typename Generate>
Corpus generateCorpus(Generate makeBody) {
  Corpus corpus;
  for (int seed = 1; seed <= kCorpusDocuments; ++seed) {
    corpus.bodies.push_back(makeBody(static_cast<uint64_t>(seed)));
    corpus.totalBytes += corpus.bodies.back().size();
  }
  const std::set<std::string> distinct(corpus.bodies.begin(), corpus.bodies.end());
  if (distinct.size() != corpus.bodies.size()) corpus.problem = "the generator repeated a document";
  return corpus;
}

// Every iteration takes the next body, as each request brings a fresh answer.
class BodyCycle {
 public:
  explicit BodyCycle(const Corpus& corpus) : corpus_(corpus) {}

  const char* next() {
    const std::string& body = corpus_.bodies[next_];
    next_ = (next_ + 1) % corpus_.bodies.size();
    bytes_ += static_cast<int64_t>(body.size());
    return body.c_str();
  }

  void setCounters(benchmark::State& state, int itemsPerBody) const {
    state.SetBytesProcessed(bytes_);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * itemsPerBody);
  }

 private:
  const Corpus& corpus_;
  std::size_t next_ = 0;
  int64_t bytes_ = 0;
};
