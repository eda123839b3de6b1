// The latest gamma-exposure snapshot of one ticker: summary levels, the strike
// table with GEX by volume and by open interest, the priors of earlier
// snapshots and the bar-scale maxima. One per study instance, kept in the
// host's pointer store; filled from a profile response, read by the drawing.
// Not thread-safe: the host calls one instance at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "data/profile_envelope.h"
#include "data/profile_snapshot.h"
#include "study/host_interface.h"

namespace tarvio {

// Priors: five per strike row (1, 5, 10, 15 and 30 minutes).
struct GexProfile : tarvio::ProfileSnapshot {
  float zero_gamma = 0;
  float major_pos_vol = 0;
  float major_pos_oi = 0;
  float major_neg_vol = 0;
  float major_neg_oi = 0;
  float sum_gex_vol = 0;
  float sum_gex_oi = 0;
  float delta_risk_reversal = 0;
  // One cell per strike.
  std::vector<float> gex_vol;
  std::vector<float> gex_oi;
  // One (strike, value) pair per prior interval.
  std::vector<std::vector<float>> max_priors;
  float max_abs_gex_vol = 0;
  float max_abs_gex_oi = 0;
  float max_abs_gex = 0;
};

// Back to the state of a new profile: no text, every number 0, tables empty.
void clear(GexProfile& profile);

// Reads a GEX profile response into `profile` (steps of the envelope, then the
// filling). A missing profile halts without a message. Any outcome but Parsed
// leaves the profile as it was. `text` null reads as empty.
tarvio::ReadOutcome parse_gex_profile(HostStudyInterface& sc, const char* text,
                                      GexProfile* profile);

}  // namespace tarvio
