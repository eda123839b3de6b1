#include "data/greek_profile.h"

#include <cmath>

#include "data/json_reading.h"
#include "study/study_log.h"

namespace {

// Element 4 of a row holds its priors.
constexpr size_t kPriorsElement = 4;

void fillGreekProfile(const JsonValue& root, GreekProfile& profile) {
  clear(profile);
  profile.timestamp = jsonInt32(jsonMember(root, "timestamp"));
  assignHostString(profile.ticker, jsonText(jsonMember(root, "ticker")));
  profile.spot = jsonFloat(jsonMember(root, "spot"));
  profile.major_positive = jsonFloat(jsonMember(root, "major_positive"));
  profile.major_negative = jsonFloat(jsonMember(root, "major_negative"));
  profile.major_long_gamma = jsonFloat(jsonMember(root, "major_long_gamma"));
  profile.major_short_gamma = jsonFloat(jsonMember(root, "major_short_gamma"));

  // Tables sized once, then written in place: this loop runs per strike.
  const JsonElements rows = jsonArray(jsonMember(root, "mini_contracts"));
  profile.strikes.resize(rows.size());
  profile.value_1.resize(rows.size());
  profile.value_2.resize(rows.size());
  profile.greek_value.resize(rows.size());
  profile.priors.resize(countRowElements(rows, kPriorsElement));
  // The maximum is kept in a local: stores into the tables could otherwise
  // alias it and force a reload per value.
  float maxGreek = 0;
  float* prior = profile.priors.data();
  for (size_t i = 0; i < rows.size(); ++i) {
    const JsonValue* cells[kPriorsElement + 1];
    rowCells(rows.first[i], cells);
    const float greek = jsonFloat(*cells[3]);
    profile.strikes[i] = jsonFloat(*cells[0]);
    profile.value_1[i] = jsonFloat(*cells[1]);
    profile.value_2[i] = jsonFloat(*cells[2]);
    profile.greek_value[i] = greek;
    if (std::fabs(greek) > maxGreek) maxGreek = std::fabs(greek);

    for (const JsonValue& value : jsonArray(*cells[kPriorsElement])) {
      const float p = jsonFloat(value);
      if (std::fabs(p) > maxGreek) maxGreek = std::fabs(p);
      *prior++ = p;
    }
  }
  profile.max_abs_greek = maxGreek + 0.001f;
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
  ResponseDocument document;
  ProfileParseResult outcome;
  const JsonValue* root =
      openProfileEnvelope(sc, text, "Greek Profile json parse error. Retrying.", document, outcome);
  if (root != nullptr) fillGreekProfile(*root, *profile);
  return outcome;
}
