// One call shape for both profile parsers, so whatever is done with a parse
// (measured, fuzzed, tested) is written once for both kinds.
#pragma once

#include "data/gex_profile.h"
#include "data/greek_profile.h"

using namespace tarvio;

inline ReadOutcome parseProfile(HostStudyInterface& sc, const char* text, GexProfile* profile) {
  return parse_gex_profile(sc, text, profile);
}
inline ReadOutcome parseProfile(HostStudyInterface& sc, const char* text, GreekProfile* profile) {
  return parse_greek_profile(sc, text, profile);
}
