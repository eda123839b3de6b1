#include "bench/instruction_loops.h"

#include <rapidjson/document.h>

#include <cstdio>

#include "bench/response_corpus.h"

// Each loop stays whole and apart: not inlined and not copied into
// specialised clones, so callgrind finds it under its one name.
#if defined(__GNUC__) && !defined(__clang__)
#define COUNTED_LOOP __attribute__((noipa))
#else
#define COUNTED_LOOP __attribute__((noinline))
#endif

COUNTED_LOOP int bareParseLoop(const std::vector<std::string>& bodies, int passes) {
  int parsed = 0;
  for (int pass = 0; pass < passes; ++pass) {
    for (const std::string& body : bodies) {
      rapidjson::Document document;
      document.Parse(body.c_str());
      parsed += document.HasParseError() ? 0 : 1;
    }
  }
  return parsed;
}

namespace {

template <typename Profile>
int fillEvery(HostStudyInterface& sc, const std::vector<std::string>& bodies, int passes,
              Profile& profile) {
  int parsed = 0;
  for (int pass = 0; pass < passes; ++pass) {
    for (const std::string& body : bodies) {
      parsed += parseProfile(sc, body.c_str(), profile) == ProfileParseResult::Parsed ? 1 : 0;
    }
  }
  return parsed;
}

// The profile is filled once before counting, so the count sees the module's
// steady state: tables that already have their capacity.
template <typename Profile>
int runBoth(const ResponseCorpus& corpus) {
  HostStudyInterface sc = quietHost();
  Profile profile;
  parseProfile(sc, corpus.bodies.back().c_str(), profile);
  const int bare = bareParseLoop(corpus.bodies, kInstructionPasses);
  const int filled = parseAndFillLoop(sc, corpus.bodies, kInstructionPasses, profile);
  const int expected = kInstructionPasses * static_cast<int>(corpus.bodies.size());
  std::printf("%s, %d rows: %d bare parses, %d parse-and-fills (of %d each)\n",
              profileKindName(corpus.kind), corpus.rows, bare, filled, expected);
  return bare == expected && filled == expected ? 0 : 1;
}

}  // namespace

COUNTED_LOOP int parseAndFillLoop(HostStudyInterface& sc,
                                       const std::vector<std::string>& bodies, int passes,
                                       GexProfile& profile) {
  return fillEvery(sc, bodies, passes, profile);
}

COUNTED_LOOP int parseAndFillLoop(HostStudyInterface& sc,
                                       const std::vector<std::string>& bodies, int passes,
                                       GreekProfile& profile) {
  return fillEvery(sc, bodies, passes, profile);
}

int runInstructionLoops(ProfileKind kind) {
  const ResponseCorpus& corpus = responseCorpus(kind, kInstructionRows);
  if (!corpus.problem.empty()) {
    std::fprintf(stderr, "tarvio_bench: %s\n", corpus.problem.c_str());
    return 1;
  }
  return kind == ProfileKind::Gex ? runBoth<GexProfile>(corpus) : runBoth<GreekProfile>(corpus);
}
