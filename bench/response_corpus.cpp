#include "bench/response_corpus.h"

#include <map>
#include <memory>
#include <set>
#include <utility>

#include "bench/profile_parsing.h"

namespace {

// Each body must come back Parsed with every row and prior in it; otherwise
// the figures would time an early exit instead of the work.
template <typename Profile>
std::string findUnreadBody(const ResponseCorpus& corpus) {
  HostStudyInterface sc = quietHost();
  const std::size_t rows = static_cast<std::size_t>(corpus.rows);
  const std::size_t priors = rows * static_cast<std::size_t>(priorsPerRow(corpus.kind));
  for (std::size_t i = 0; i < corpus.bodies.size(); ++i) {
    Profile profile;
    const ProfileParseResult outcome = parseProfile(sc, corpus.bodies[i].c_str(), profile);
    if (outcome != ProfileParseResult::Parsed || rowCount(profile) != rows ||
        priorCount(profile) != priors) {
      return std::string(profileKindName(corpus.kind)) + " body " + std::to_string(i) + " of " +
             std::to_string(corpus.rows) + " rows was not read whole (outcome " +
             std::to_string(static_cast<int>(outcome)) + ", " +
             std::to_string(rowCount(profile)) + " rows, " +
             std::to_string(priorCount(profile)) + " priors)";
    }
  }
  return {};
}

std::string checkCorpus(const ResponseCorpus& corpus) {
  const std::set<std::string> distinct(corpus.bodies.begin(), corpus.bodies.end());
  if (distinct.size() != corpus.bodies.size()) return "the generator repeated a document";
  return corpus.kind == ProfileKind::Gex ? findUnreadBody<GexProfile>(corpus)
                                         : findUnreadBody<GreekProfile>(corpus);
}

std::unique_ptr<ResponseCorpus> buildCorpus(ProfileKind kind, int rows) {
  auto corpus = std::make_unique<ResponseCorpus>();
  corpus->kind = kind;
  corpus->rows = rows;
  for (int seed = 1; seed <= kCorpusDocuments; ++seed) {
    corpus->bodies.push_back(makeProfileResponse(kind, rows, static_cast<uint64_t>(seed)));
    corpus->totalBytes += corpus->bodies.back().size();
  }
  corpus->problem = checkCorpus(*corpus);
  return corpus;
}

}  // namespace

const ResponseCorpus& responseCorpus(ProfileKind kind, int rows) {
  static std::map<std::pair<ProfileKind, int>, std::unique_ptr<ResponseCorpus>> built;
  std::unique_ptr<ResponseCorpus>& slot = built[{kind, rows}];
  if (!slot) slot = buildCorpus(kind, rows);
  return *slot;
}
