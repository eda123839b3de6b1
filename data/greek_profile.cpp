#include "data/greek_profile.h"

void clear(GreekProfile& profile) {
  profile.timestamp = 0;
  releaseHostString(profile.ticker);
  profile.spot = 0;
  profile.major_positive = profile.major_negative = 0;
  profile.major_long_gamma = profile.major_short_gamma = 0;
  profile.strikes.clear();
  profile.value_1.clear();
  profile.value_2.clear();
  profile.greek_value.clear();
  profile.priors.clear();
  profile.max_abs_greek = 0;
}
