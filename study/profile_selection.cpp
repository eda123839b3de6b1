#include "study/profile_selection.h"

#include "service/service_endpoint.h"

namespace tarvio {

namespace {

struct ProfileKind {
  const char* word;
  int32_t isGreek;
};

// In the order of the "Greek" input's options.
constexpr ProfileKind kProfileKinds[] = {
    {"full", 0},  {"zero", 0},      {"one", 0},       {"gamma", 1},
    {"gamma_one", 1}, {"delta", 1}, {"delta_one", 1},
};
constexpr int32_t kProfileKindCount = sizeof(kProfileKinds) / sizeof(kProfileKinds[0]);

}  // namespace

ProfileSelection selectProfile(int32_t packageIndex, int32_t greekIndex) {
  const ProfileKind kind =
      (greekIndex >= 0 && greekIndex < kProfileKindCount) ? kProfileKinds[greekIndex] : kProfileKinds[0];
  return ProfileSelection{packageIndex == 1 ? "state" : "classic", kind.word, kind.isGreek};
}

void buildProfileUrl(HostString& url, const char* ticker, const ProfileSelection& selection) {
  formatHostString(url, "%s/%s/%s/%s", kServiceBaseUrl, ticker != nullptr ? ticker : "",
                   selection.packageWord, selection.profileWord);
}

}  // namespace tarvio
