// Which profile the inputs ask the service for: the package word, the profile
// word and whether the answer is a greek (gamma or delta) profile.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

struct ProfileSelection {
  const char* packageWord;  // "classic" or "state"
  const char* profileWord;  // "full", "zero", "one", "gamma", ...
  int32_t isGreekProfile;   // 1 for the gamma and delta kinds
};

// From the "Package" and "Greek" list indices (the kinds as
// study/greek_input.h describes them).
ProfileSelection selectProfile(int32_t packageIndex, int32_t greekIndex);

// The profile URL: base, ticker, package word and profile word joined by '/'.
void buildProfileUrl(HostString& url, const char* ticker, const ProfileSelection& selection);

}  // namespace tarvio
