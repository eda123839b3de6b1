// Fuzzes parse_gex_profile; the round each input goes through is in
// profile_fuzz_driver.h, the checks that belong to this profile are here.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/gex_profile.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/profile_fuzz_driver.h"
#include "fuzz/snapshot_checks.h"
#include "fuzz/snapshot_drawing.h"

namespace {

std::vector<float> summaryOf(const GexProfile& p) {
  return {p.spot,          p.zero_gamma,   p.major_pos_vol, p.major_pos_oi,
          p.major_neg_vol, p.major_neg_oi, p.sum_gex_vol,   p.sum_gex_oi,
          p.delta_risk_reversal};
}

ProfileCopy copyOf(const GexProfile& p) {
  ProfileCopy copy = copyOfTicker(p.timestamp, p.ticker);
  for (const auto* table : {&p.strikes, &p.gex_vol, &p.gex_oi, &p.priors}) appendBits(copy, *table);
  appendBits(copy, summaryOf(p));
  appendBits(copy, {p.max_abs_gex_vol, p.max_abs_gex_oi, p.max_abs_gex});
  for (const auto& pair : p.max_priors) appendBits(copy, pair);
  return copy;
}

// What holds for any snapshot, read from the profile alone.
void checkSnapshot(const GexProfile& p) {
  checkTicker(p.ticker);
  FUZZ_CHECK(p.gex_vol.size() == p.strikes.size());
  FUZZ_CHECK(p.gex_oi.size() == p.strikes.size());
  // Five prior cells per row, whatever the row carried.
  FUZZ_CHECK(p.priors.size() == 5 * p.strikes.size());
  for (const auto& pair : p.max_priors) {
    FUZZ_CHECK(pair.size() == 2);
    checkNoInfinity(pair);
  }
  for (const auto* values : {&p.strikes, &p.gex_vol, &p.gex_oi, &p.priors}) checkNoInfinity(*values);
  checkNoInfinity(summaryOf(p));
  for (float maximum : {p.max_abs_gex_vol, p.max_abs_gex_oi, p.max_abs_gex})
    FUZZ_CHECK(std::isfinite(maximum));

  // The volume scale covers every volume bar and prior dot, the open-interest
  // scale every open-interest bar, each with the 0.001 that keeps a scale
  // above zero; absent values take no part. The joint scale covers both kinds
  // of bar; it may miss priors but never exceeds the larger single scale.
  const float volume = std::max(largestMagnitude(p.gex_vol), largestMagnitude(p.priors));
  const float openInterest = largestMagnitude(p.gex_oi);
  const float bars = std::max(largestMagnitude(p.gex_vol), openInterest);
  FUZZ_CHECK(p.max_abs_gex_vol == volume + 0.001f);
  FUZZ_CHECK(p.max_abs_gex_oi == openInterest + 0.001f);
  FUZZ_CHECK(p.max_abs_gex >= bars + 0.001f);
  FUZZ_CHECK(p.max_abs_gex <= std::max(p.max_abs_gex_vol, p.max_abs_gex_oi));
  FUZZ_CHECK(p.max_abs_gex_vol >= 0.001f && p.max_abs_gex_oi >= 0.001f && p.max_abs_gex >= 0.001f);
}

// The snapshot holds what the response holds, row for row.
void checkAgainstDocument(const GexProfile& p, const JsonValue& root) {
  using namespace fuzz;
  FUZZ_CHECK(p.timestamp == member(root, "timestamp").GetInt());
  FUZZ_CHECK(std::string(hostStringText(p.ticker)) == text(member(root, "ticker")));
  const std::vector<float> summary{
      number(member(root, "spot")),          number(member(root, "zero_gamma")),
      number(member(root, "major_pos_vol")), number(member(root, "major_pos_oi")),
      number(member(root, "major_neg_vol")), number(member(root, "major_neg_oi")),
      number(member(root, "sum_gex_vol")),   number(member(root, "sum_gex_oi")),
      number(member(root, "delta_risk_reversal"))};
  FUZZ_CHECK(sameValues(summaryOf(p), summary));

  const JsonValue& rows = member(root, "strikes");
  FUZZ_CHECK(p.strikes.size() == elementCount(rows));
  for (size_t i = 0; i < p.strikes.size(); ++i) {
    const JsonValue& row = element(rows, i);
    FUZZ_CHECK(sameValues({p.strikes[i], p.gex_vol[i], p.gex_oi[i]},
                          {number(element(row, 0)), number(element(row, 1)), number(element(row, 2))}));
  }
  FUZZ_CHECK(sameValues(p.priors, priorsOf(rows, 3, 5)));

  const JsonValue& maxPriors = member(root, "max_priors");
  FUZZ_CHECK(p.max_priors.size() == elementCount(maxPriors));
  for (size_t i = 0; i < p.max_priors.size(); ++i) {
    const JsonValue& pair = element(maxPriors, i);
    FUZZ_CHECK(sameValues(p.max_priors[i], {number(element(pair, 0)), number(element(pair, 1))}));
  }
}

struct GexProfileTraits {
  using Profile = GexProfile;
  static ProfileParseResult parse(const char* text, GexProfile* profile) {
    return parse_gex_profile(fuzzHost(), text, profile);
  }
  static auto copyOf(const GexProfile& p) { return ::copyOf(p); }
  static void checkSnapshot(const GexProfile& p) { ::checkSnapshot(p); }
  static void checkAgainstDocument(const GexProfile& p, const JsonValue& root) {
    ::checkAgainstDocument(p, root);
  }
  // Without a profile the parser halts before reading and logs nothing.
  static void checkWithoutProfile() { FUZZ_CHECK(loggedLines().empty()); }
  static void checkDrawing(const GexProfile& p) { checkGexDrawing(p); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzzProfileParser<GexProfileTraits>(data, size);
}
