#include "data/gex_profile.h"

#include <cmath>

#include "data/json_reading.h"

namespace {

// Element 3 of a row holds its priors.
constexpr size_t kPriorsElement = 3;

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

  // Tables sized once, then written in place: this loop runs per strike.
  const JsonElements rows = jsonArray(jsonMember(root, "strikes"));
  profile.strikes.resize(rows.size());
  profile.gex_vol.resize(rows.size());
  profile.gex_oi.resize(rows.size());
  profile.priors.resize(countRowElements(rows, kPriorsElement));
  // The maxima are kept in locals: stores into the tables could otherwise
  // alias them and force a reload per value.
  float maxVolume = 0, maxOpenInterest = 0, maxBoth = 0;
  float* prior = profile.priors.data();
  for (size_t i = 0; i < rows.size(); ++i) {
    const JsonValue* cells[kPriorsElement + 1];
    rowCells(rows.first[i], cells);
    const float volume = jsonFloat(*cells[1]);
    const float openInterest = jsonFloat(*cells[2]);
    profile.strikes[i] = jsonFloat(*cells[0]);
    profile.gex_vol[i] = volume;
    profile.gex_oi[i] = openInterest;

    if (std::fabs(volume) > maxVolume) maxVolume = std::fabs(volume);
    if (std::fabs(openInterest) > maxOpenInterest) maxOpenInterest = std::fabs(openInterest);
    // The combined maximum is taken before this row's priors raise the volume
    // maximum, so it misses the priors of the last row.
    if (maxVolume > maxBoth) maxBoth = maxVolume;
    if (maxOpenInterest > maxBoth) maxBoth = maxOpenInterest;

    for (const JsonValue& value : jsonArray(*cells[kPriorsElement])) {
      const float p = jsonFloat(value);
      if (std::fabs(p) > maxVolume) maxVolume = std::fabs(p);
      *prior++ = p;
    }
  }
  profile.max_abs_gex_vol = maxVolume + 0.001f;
  profile.max_abs_gex_oi = maxOpenInterest + 0.001f;
  profile.max_abs_gex = maxBoth + 0.001f;

  const JsonElements maxPriors = jsonArray(jsonMember(root, "max_priors"));
  profile.max_priors.reserve(maxPriors.size());
  for (const JsonValue& entry : maxPriors) {
    const JsonElements pair = jsonArray(entry);
    profile.max_priors.push_back({jsonFloat(pair[0]), jsonFloat(pair[1])});
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
  ResponseDocument document;
  ProfileParseResult outcome;
  const JsonValue* root =
      openProfileEnvelope(sc, text, "GEX Profile json parse error. Retrying.", document, outcome);
  if (root != nullptr) fillGexProfile(*root, *profile);
  return outcome;
}
