#include "data/greek_profile.h"

#include <cmath>

#include "data/json_reading.h"
#include "data/profile_tables.h"
#include "study/study_log.h"

namespace tarvio {

namespace {

// Element 4 of a row holds its priors, one per interval: 5, 15 and 30 minutes
// before.
constexpr size_t kPriorsElement = 4;
constexpr size_t kPriorsPerRow = 3;

// Fills the strike tables, the priors and the maximum.
void fillStrikeRows(JsonElements rows, GreekProfile& profile) {
  resizeForRefill(profile.strikes, rows.size());
  resizeForRefill(profile.value_1, rows.size());
  resizeForRefill(profile.value_2, rows.size());
  resizeForRefill(profile.greek_value, rows.size());
  resizeForRefill(profile.priors, rows.size() * kPriorsPerRow);
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
    const RowCells<kPriorsElement + 1> cells = rowCells<kPriorsElement + 1>(row, null);
    const float greek = jsonFloat(cells[3]);
    *strikes++ = jsonFloat(cells[0]);
    *values1++ = jsonFloat(cells[1]);
    *values2++ = jsonFloat(cells[2]);
    *greeks++ = greek;
    // An absent (NaN) value never passes this test, so it never sets the maximum.
    if (std::fabs(greek) > maxGreek) maxGreek = std::fabs(greek);

    maxGreek = fillRowPriors(jsonArray(cells[kPriorsElement]), prior, kPriorsPerRow, maxGreek);
    prior += kPriorsPerRow;
  }
  profile.max_abs_greek = maxGreek + 0.001f;
}

void fillGreekProfile(const JsonValue& root, GreekProfile& profile) {
  // Every field is written below, so this is a cleared profile filled from the
  // response. The tables are resized instead of emptied first, so a refill of
  // the usual size neither zero-fills nor allocates.
  profile.timestamp = jsonInt32(jsonMember(root, "timestamp"));
  releaseHostString(profile.ticker);
  assignHostString(profile.ticker, jsonText(jsonMember(root, "ticker")));
  profile.spot = jsonFloat(jsonMember(root, "spot"));
  profile.major_positive = jsonFloat(jsonMember(root, "major_positive"));
  profile.major_negative = jsonFloat(jsonMember(root, "major_negative"));
  profile.major_long_gamma = jsonFloat(jsonMember(root, "major_long_gamma"));
  profile.major_short_gamma = jsonFloat(jsonMember(root, "major_short_gamma"));

  fillStrikeRows(jsonArray(jsonMember(root, "mini_contracts")), profile);
}

}  // namespace

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

ProfileParseResult parse_greek_profile(HostStudyInterface& sc, const char* text, GreekProfile* profile) {
  if (profile == nullptr) {
    logMessage(sc, kLogAlert, "Tarvio: p_greek_data is null.");
    return ProfileParseResult::Halt;
  }
  return readProfileResponse(sc, text, "Greek Profile json parse error. Retrying.",
                             [profile](const JsonValue& root) { fillGreekProfile(root, *profile); });
}

}  // namespace tarvio
