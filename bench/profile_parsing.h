// One call shape for both profile parsers, and the host record they are
// called with, so every measurement is written once for both kinds.
#pragma once

#include <cstddef>

#include "data/gex_profile.h"
#include "data/greek_profile.h"

// A host record whose log drops every line: the parsers only log on paths
// the measured documents never take.
HostStudyInterface quietHost();

inline ProfileParseResult parseProfile(HostStudyInterface& sc, const char* text,
                                       GexProfile& profile) {
  return parse_gex_profile(sc, text, &profile);
}

inline ProfileParseResult parseProfile(HostStudyInterface& sc, const char* text,
                                       GreekProfile& profile) {
  return parse_greek_profile(sc, text, &profile);
}

// Rows and priors held by a filled profile, to check that a document was read
// whole.
inline std::size_t rowCount(const GexProfile& profile) { return profile.strikes.size(); }
inline std::size_t rowCount(const GreekProfile& profile) { return profile.strikes.size(); }
inline std::size_t priorCount(const GexProfile& profile) { return profile.priors.size(); }
inline std::size_t priorCount(const GreekProfile& profile) { return profile.priors.size(); }
