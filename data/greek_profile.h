// The latest gamma or delta snapshot of one ticker: summary majors and a strike
// table whose greek value is drawn as bars, with three priors per strike. One
// per study instance, kept in the host's pointer store.
// Not thread-safe: the host calls one instance at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "data/profile_envelope.h"
#include "data/profile_snapshot.h"
#include "study/host_interface.h"

namespace tarvio {

// Priors: three per strike row (5, 15 and 30 minutes).
struct GreekProfile : tarvio::ProfileSnapshot {
  float major_positive = 0;
  float major_negative = 0;
  float major_long_gamma = 0;
  float major_short_gamma = 0;
  // One cell per strike; the greek value is drawn as bars.
  std::vector<float> value_1;
  std::vector<float> value_2;
  std::vector<float> greek_value;
  float max_abs_greek = 0;
};

// Back to the state of a new profile: no text, every number 0, tables empty.
void clear(GreekProfile& profile);

// Reads a gamma or delta profile response into `profile`. A missing profile is
// logged as an alert and halts. Any outcome but Parsed leaves the profile as it
// was. `text` null reads as empty.
tarvio::ReadOutcome parse_greek_profile(HostStudyInterface& sc, const char* text,
                                        GreekProfile* profile);

}  // namespace tarvio
