// Fuzzes parse_greek_profile; the round each input goes through is in
// profile_fuzz_driver.h, the checks that belong to this profile are here.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/greek_profile.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/profile_fuzz_driver.h"
#include "fuzz/snapshot_checks.h"
#include "fuzz/snapshot_drawing.h"

namespace {

std::vector<float> summaryOf(const GreekProfile& p) {
  return {p.spot, p.major_positive, p.major_negative, p.major_long_gamma, p.major_short_gamma};
}

ProfileCopy copyOf(const GreekProfile& p) {
  ProfileCopy copy = copyOfTicker(p.timestamp, p.ticker);
  for (const auto* table : {&p.strikes, &p.value_1, &p.value_2, &p.greek_value, &p.priors})
    appendBits(copy, *table);
  appendBits(copy, summaryOf(p));
  appendBits(copy, {p.max_abs_greek});
  return copy;
}

// What holds for any snapshot, read from the profile alone.
void checkSnapshot(const GreekProfile& p) {
  checkTicker(p.ticker);
  FUZZ_CHECK(p.value_1.size() == p.strikes.size());
  FUZZ_CHECK(p.value_2.size() == p.strikes.size());
  FUZZ_CHECK(p.greek_value.size() == p.strikes.size());
  // Three prior cells per row, whatever the row carried.
  FUZZ_CHECK(p.priors.size() == 3 * p.strikes.size());
  for (const auto* values : {&p.strikes, &p.value_1, &p.value_2, &p.greek_value, &p.priors})
    checkNoInfinity(*values);
  checkNoInfinity(summaryOf(p));
  // The bar scale covers every greek bar and prior dot, plus the 0.001 that
  // keeps it above zero; the two other values and absent ones take no part.
  const float largest = std::max(largestMagnitude(p.greek_value), largestMagnitude(p.priors));
  FUZZ_CHECK(p.max_abs_greek == largest + 0.001f);
  FUZZ_CHECK(p.max_abs_greek >= 0.001f);
}

// The snapshot holds what the response holds, row for row.
void checkAgainstDocument(const GreekProfile& p, const JsonValue& root) {
  using namespace fuzz;
  FUZZ_CHECK(p.timestamp == member(root, "timestamp").GetInt());
  FUZZ_CHECK(std::string(hostStringText(p.ticker)) == text(member(root, "ticker")));
  const std::vector<float> summary{
      number(member(root, "spot")), number(member(root, "major_positive")),
      number(member(root, "major_negative")), number(member(root, "major_long_gamma")),
      number(member(root, "major_short_gamma"))};
  FUZZ_CHECK(sameValues(summaryOf(p), summary));

  const JsonValue& rows = member(root, "mini_contracts");
  FUZZ_CHECK(p.strikes.size() == elementCount(rows));
  for (size_t i = 0; i < p.strikes.size(); ++i) {
    const JsonValue& row = element(rows, i);
    FUZZ_CHECK(sameValues({p.strikes[i], p.value_1[i], p.value_2[i], p.greek_value[i]},
                          {number(element(row, 0)), number(element(row, 1)),
                           number(element(row, 2)), number(element(row, 3))}));
  }
  FUZZ_CHECK(sameValues(p.priors, priorsOf(rows, 4, 3)));
}

struct GreekProfileTraits {
  using Profile = GreekProfile;
  static ProfileParseResult parse(const char* text, GreekProfile* profile) {
    return parse_greek_profile(fuzzHost(), text, profile);
  }
  static auto copyOf(const GreekProfile& p) { return ::copyOf(p); }
  static void checkSnapshot(const GreekProfile& p) { ::checkSnapshot(p); }
  static void checkAgainstDocument(const GreekProfile& p, const JsonValue& root) {
    ::checkAgainstDocument(p, root);
  }
  // Without a profile the parser halts before reading, with one alert.
  static void checkWithoutProfile() { FUZZ_CHECK(loggedOnly(1, "")); }
  static void checkDrawing(const GreekProfile& p) { checkGreekDrawing(p); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzzProfileParser<GreekProfileTraits>(data, size);
}
