#include "data/gex_profile.h"

#include <cmath>

#include "data/json_reading.h"

namespace {

// Room for the usual five priors per row; rows with more or fewer still fit.
constexpr size_t kPriorsPerRow = 5;

void fillGexProfile(const JsonValue& root, GexProfile& profile) {
  clear(profile);
  profile.timestamp = jsonInt32(jsonMember(root, "timestamp"));
  assignHostString(profile.ticker, jsonText(jsonMember(root, "ticker")));
  profile.spot = jsonFloat(jsonMember(root, "spot"));
  profile.zero_gamma = jsonFloat(jsonMember(root, "zero_gamma"));
  profile.major_pos_vol = jsonFloat(jsonMember(root, "major_pos_vol"));
  profile.major_pos_oi = jsonFloat(jsonMember(root, "major_pos_oi"));
  profile.major_neg_vol = jsonFloat(jsonMember(root, "major_neg_vol"));
  profile.major_neg_oi = jsonFloat(jsonMember(root, "major_neg_oi"));
  profile.sum_gex_vol = jsonFloat(jsonMember(root, "sum_gex_vol"));
  profile.sum_gex_oi = jsonFloat(jsonMember(root, "sum_gex_oi"));
  profile.delta_risk_reversal = jsonFloat(jsonMember(root, "delta_risk_reversal"));

  const JsonElements rows = jsonArray(jsonMember(root, "strikes"));
  profile.strikes.reserve(rows.size());
  profile.gex_vol.reserve(rows.size());
  profile.gex_oi.reserve(rows.size());
  profile.priors.reserve(rows.size() * kPriorsPerRow);
  for (const JsonValue& row : rows) {
    const float strike = jsonFloat(jsonElement(row, 0));
    const float volume = jsonFloat(jsonElement(row, 1));
    const float openInterest = jsonFloat(jsonElement(row, 2));
    profile.strikes.push_back(strike);
    profile.gex_vol.push_back(volume);
    profile.gex_oi.push_back(openInterest);

    if (std::fabs(volume) > profile.max_abs_gex_vol) profile.max_abs_gex_vol = std::fabs(volume);
    if (std::fabs(openInterest) > profile.max_abs_gex_oi) profile.max_abs_gex_oi = std::fabs(openInterest);
    // The combined maximum is taken before this row's priors raise the volume
    // maximum, so it misses the priors of the last row.
    if (profile.max_abs_gex_vol > profile.max_abs_gex) profile.max_abs_gex = profile.max_abs_gex_vol;
    if (profile.max_abs_gex_oi > profile.max_abs_gex) profile.max_abs_gex = profile.max_abs_gex_oi;

    for (const JsonValue& value : jsonArray(jsonElement(row, 3))) {
      const float prior = jsonFloat(value);
      if (std::fabs(prior) > profile.max_abs_gex_vol) profile.max_abs_gex_vol = std::fabs(prior);
      profile.priors.push_back(prior);
    }
  }
  profile.max_abs_gex_vol += 0.001f;
  profile.max_abs_gex_oi += 0.001f;
  profile.max_abs_gex += 0.001f;

  const JsonElements maxPriors = jsonArray(jsonMember(root, "max_priors"));
  profile.max_priors.reserve(maxPriors.size());
  for (const JsonValue& entry : maxPriors) {
    profile.max_priors.push_back({jsonFloat(jsonElement(entry, 0)), jsonFloat(jsonElement(entry, 1))});
  }
}

}  // namespace

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

ProfileParseResult parse_gex_profile(HostStudyInterface& sc, const char* text, GexProfile* profile) {
  if (profile == nullptr) return ProfileParseResult::Halt;
  JsonDocument document;
  ProfileParseResult outcome;
  const JsonValue* root =
      openProfileEnvelope(sc, text, "GEX Profile json parse error. Retrying.", document, outcome);
  if (root != nullptr) fillGexProfile(*root, *profile);
  return outcome;
}
