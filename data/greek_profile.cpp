#include "data/greek_profile.h"

#include <cmath>

#include "data/json_reading.h"
#include "data/profile_tables.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

// Element 4 of a row holds its priors, one per interval: 5, 15 and 30 minutes
// before.
constexpr size_t kGreekPriorsElement = 4;
constexpr size_t kGreekPriorsPerRow = 3;

constexpr tarvio::SummaryField<GreekProfile> kGreekSummary[] = {
    {&GreekProfile::major_positive, "major_positive"},
    {&GreekProfile::major_negative, "major_negative"},
    {&GreekProfile::major_long_gamma, "major_long_gamma"},
    {&GreekProfile::major_short_gamma, "major_short_gamma"},
};

// Fills the strike tables, the priors and the maximum.
void fillStrikeRows(JsonElements rows, GreekProfile& profile) {
  tarvio::resizeRowsForRefill(profile, rows.size(), kGreekPriorsPerRow, profile.value_1, profile.value_2,
                              profile.greek_value);
  // The maximum and table positions are kept in locals and the loop makes no
  // calls, so they stay in registers: this loop runs once per strike.
  float maxGreek = 0;
  float* strikes = profile.strikes.data();
  float* values1 = profile.value_1.data();
  float* values2 = profile.value_2.data();
  float* greeks = profile.greek_value.data();
  float* prior = profile.priors.data();
  const JsonValue& null = jsonNull();
  for (const JsonValue& row : rows) {
    const RowCells<kGreekPriorsElement + 1> cells = rowCells<kGreekPriorsElement + 1>(row, null);
    const float greek = jsonFloat(cells[3]);
    *strikes++ = jsonFloat(cells[0]);
    *values1++ = jsonFloat(cells[1]);
    *values2++ = jsonFloat(cells[2]);
    *greeks++ = greek;
    // An absent (NaN) value never passes this test, so it never sets the maximum.
    if (std::fabs(greek) > maxGreek) maxGreek = std::fabs(greek);

    maxGreek = fillRowPriors(jsonArray(cells[kGreekPriorsElement]), prior, kGreekPriorsPerRow, maxGreek);
    prior += kGreekPriorsPerRow;
  }
  profile.max_abs_greek = maxGreek + 0.001f;
}

void fillGreekProfile(const JsonValue& root, GreekProfile& profile) {
  // Every field is written below, so this is a cleared profile filled from the
  // response. The tables are resized instead of emptied first, so a refill of
  // the usual size neither zero-fills nor allocates.
  tarvio::fillSnapshotHeader(root, profile);
  tarvio::fillSummary(root, kGreekSummary, profile);

  fillStrikeRows(jsonArray(jsonMember(root, "mini_contracts")), profile);
}

}  // namespace

void clear(GreekProfile& profile) {
  tarvio::clearSnapshot(profile);
  tarvio::clearSummary(kGreekSummary, profile);
  profile.value_1.clear();
  profile.value_2.clear();
  profile.greek_value.clear();
  profile.max_abs_greek = 0;
}

tarvio::ReadOutcome parse_greek_profile(HostStudyInterface& sc, const char* text,
                                        GreekProfile* profile) {
  if (profile == nullptr) {
    logMessage(sc, kLogAlert, "Tarvio: p_greek_data is null.");
    return tarvio::ReadOutcome::Halt;
  }
  return readProfileResponse(sc, text, "Greek Profile json parse error. Retrying.",
                             [profile](const JsonValue& root) { fillGreekProfile(root, *profile); });
}

}  // namespace tarvio
