#include "data/gex_profile.h"

void clear(GexProfile& profile) {
  profile.timestamp = 0;
  releaseHostString(profile.ticker);
  profile.spot = profile.zero_gamma = 0;
  profile.major_pos_vol = profile.major_pos_oi = 0;
  profile.major_neg_vol = profile.major_neg_oi = 0;
  profile.sum_gex_vol = profile.sum_gex_oi = 0;
  profile.delta_risk_reversal = 0;
  profile.strikes.clear();
  profile.gex_vol.clear();
  profile.gex_oi.clear();
  profile.priors.clear();
  profile.max_priors.clear();
  profile.max_abs_gex_vol = profile.max_abs_gex_oi = profile.max_abs_gex = 0;
}
