#include "data/gex_profile.h"

#include <cmath>

#include "data/json_reading.h"
#include "data/profile_tables.h"

namespace tarvio {

namespace {

// Element 3 of a row holds its priors, one per interval: 1, 5, 10, 15 and 30
// minutes before.
constexpr size_t kGexPriorsElement = 3;
constexpr size_t kGexPriorsPerRow = 5;

constexpr tarvio::SummaryField<GexProfile> kGexSummary[] = {
    {&GexProfile::zero_gamma, "zero_gamma"},   {&GexProfile::major_pos_vol, "major_pos_vol"},
    {&GexProfile::major_pos_oi, "major_pos_oi"}, {&GexProfile::major_neg_vol, "major_neg_vol"},
    {&GexProfile::major_neg_oi, "major_neg_oi"}, {&GexProfile::sum_gex_vol, "sum_gex_vol"},
    {&GexProfile::sum_gex_oi, "sum_gex_oi"},
    {&GexProfile::delta_risk_reversal, "delta_risk_reversal"},
};

// Fills the strike tables, the priors and the three maxima.
void fillStrikeRows(JsonElements rows, GexProfile& profile) {
  tarvio::resizeRowsForRefill(profile, rows.size(), kGexPriorsPerRow, profile.gex_vol, profile.gex_oi);
  // The maxima and table positions are kept in locals and the loop makes no
  // calls, so they stay in registers: this loop runs once per strike.
  float maxVolume = 0, maxOpenInterest = 0, maxBoth = 0;
  float* strikes = profile.strikes.data();
  float* volumes = profile.gex_vol.data();
  float* openInterests = profile.gex_oi.data();
  float* prior = profile.priors.data();
  const JsonValue& null = jsonNull();
  for (const JsonValue& row : rows) {
    const RowCells<kGexPriorsElement + 1> cells = rowCells<kGexPriorsElement + 1>(row, null);
    const float volume = jsonFloat(cells[1]);
    const float openInterest = jsonFloat(cells[2]);
    *strikes++ = jsonFloat(cells[0]);
    *volumes++ = volume;
    *openInterests++ = openInterest;

    // An absent (NaN) value never passes these tests, so it never sets a maximum.
    if (std::fabs(volume) > maxVolume) maxVolume = std::fabs(volume);
    if (std::fabs(openInterest) > maxOpenInterest) maxOpenInterest = std::fabs(openInterest);
    // The combined maximum is taken before this row's priors raise the volume
    // maximum, so it misses the priors of the last row.
    if (maxVolume > maxBoth) maxBoth = maxVolume;
    if (maxOpenInterest > maxBoth) maxBoth = maxOpenInterest;

    maxVolume = fillRowPriors(jsonArray(cells[kGexPriorsElement]), prior, kGexPriorsPerRow, maxVolume);
    prior += kGexPriorsPerRow;
  }
  profile.max_abs_gex_vol = maxVolume + 0.001f;
  profile.max_abs_gex_oi = maxOpenInterest + 0.001f;
  profile.max_abs_gex = maxBoth + 0.001f;
}

void fillGexProfile(const JsonValue& root, GexProfile& profile) {
  // Every field is written below, so this is a cleared profile filled from the
  // response. The tables are resized instead of emptied first, so a refill of
  // the usual size neither zero-fills nor allocates.
  tarvio::fillSnapshotHeader(root, profile);
  tarvio::fillSummary(root, kGexSummary, profile);

  fillStrikeRows(jsonArray(jsonMember(root, "strikes")), profile);

  const JsonElements maxPriors = jsonArray(jsonMember(root, "max_priors"));
  profile.max_priors.resize(maxPriors.size());
  for (size_t i = 0; i < maxPriors.size(); ++i) {
    const JsonElements pair = jsonArray(maxPriors.first[i]);
    profile.max_priors[i].assign({jsonFloat(pair[0]), jsonFloat(pair[1])});
  }
}

}  // namespace

void clear(GexProfile& profile) {
  tarvio::clearSnapshot(profile);
  tarvio::clearSummary(kGexSummary, profile);
  profile.gex_vol.clear();
  profile.gex_oi.clear();
  profile.max_priors.clear();
  profile.max_abs_gex_vol = profile.max_abs_gex_oi = profile.max_abs_gex = 0;
}

tarvio::ReadOutcome parse_gex_profile(HostStudyInterface& sc, const char* text,
                                      GexProfile* profile) {
  if (profile == nullptr) return tarvio::ReadOutcome::Halt;
  return readProfileResponse(sc, text, "GEX Profile json parse error. Retrying.",
                             [profile](const JsonValue& root) { fillGexProfile(root, *profile); });
}

}  // namespace tarvio
