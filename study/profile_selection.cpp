#include "study/profile_selection.h"

#include "service/service_endpoint.h"
#include "study/greek_input.h"

namespace tarvio {

ProfileSelection selectProfile(int32_t packageIndex, int32_t greekIndex) {
  const tarvio::GreekOption& kind = tarvio::greekOption(greekIndex);
  return ProfileSelection{packageIndex == 1 ? "state" : "classic", kind.profileWord,
                          kind.asksGreekProfile() ? 1 : 0};
}

void buildProfileUrl(HostString& url, const char* ticker, const ProfileSelection& selection) {
  formatHostString(url, "%s/%s/%s/%s", kServiceBaseUrl, ticker != nullptr ? ticker : "",
                   selection.packageWord, selection.profileWord);
}

}  // namespace tarvio
