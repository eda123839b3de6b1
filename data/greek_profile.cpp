#include "data/greek_profile.h"

#include <cmath>

#include "data/json_reading.h"
#include "study/study_log.h"

namespace {

// Room for the usual three priors per row; rows with more or fewer still fit.
constexpr size_t kPriorsPerRow = 3;

void fillGreekProfile(const JsonValue& root, GreekProfile& profile) {
  clear(profile);
  profile.timestamp = jsonInt32(jsonMember(root, "timestamp"));
  assignHostString(profile.ticker, jsonText(jsonMember(root, "ticker")));
  profile.spot = jsonFloat(jsonMember(root, "spot"));
  profile.major_positive = jsonFloat(jsonMember(root, "major_positive"));
  profile.major_negative = jsonFloat(jsonMember(root, "major_negative"));
  profile.major_long_gamma = jsonFloat(jsonMember(root, "major_long_gamma"));
  profile.major_short_gamma = jsonFloat(jsonMember(root, "major_short_gamma"));

  const JsonElements rows = jsonArray(jsonMember(root, "mini_contracts"));
  profile.strikes.reserve(rows.size());
  profile.value_1.reserve(rows.size());
  profile.value_2.reserve(rows.size());
  profile.greek_value.reserve(rows.size());
  profile.priors.reserve(rows.size() * kPriorsPerRow);
  for (const JsonValue& row : rows) {
    const float greek = jsonFloat(jsonElement(row, 3));
    profile.strikes.push_back(jsonFloat(jsonElement(row, 0)));
    profile.value_1.push_back(jsonFloat(jsonElement(row, 1)));
    profile.value_2.push_back(jsonFloat(jsonElement(row, 2)));
    profile.greek_value.push_back(greek);
    if (std::fabs(greek) > profile.max_abs_greek) profile.max_abs_greek = std::fabs(greek);

    for (const JsonValue& value : jsonArray(jsonElement(row, 4))) {
      const float prior = jsonFloat(value);
      if (std::fabs(prior) > profile.max_abs_greek) profile.max_abs_greek = std::fabs(prior);
      profile.priors.push_back(prior);
    }
  }
  profile.max_abs_greek += 0.001f;
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
  JsonDocument document;
  ProfileParseResult outcome;
  const JsonValue* root =
      openProfileEnvelope(sc, text, "Greek Profile json parse error. Retrying.", document, outcome);
  if (root != nullptr) fillGreekProfile(*root, *profile);
  return outcome;
}
