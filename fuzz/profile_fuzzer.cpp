// Fuzzes a profile parser: parse_gex_profile in fuzz_gex_profile and
// parse_greek_profile in fuzz_greek_profile (FUZZED_PROFILE names the
// traits). Each input goes through one round: the parser with no profile,
// into a fresh profile, and into one profile kept across inputs, so that
// refilling over an earlier snapshot is exercised and must give the same
// snapshot as a fresh fill. A call that does not parse must leave the profile
// exactly as it was. The outcome and the log are judged against the reference
// reading of the text; a snapshot must hold what the document holds, row for
// row, and is then drawn on a chart.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_host.h"
#include "fuzz/reference_reading.h"
#include "fuzz/snapshot_drawing.h"
#include "support/profile_parsers.h"

namespace {

using namespace fuzz;
using Values = std::vector<float>;

// Everything a profile holds, down to where its ticker's buffer sits; the
// numbers by their bits, table after table, each led by its length, so copies
// compare equal only when nothing changed, absent values included.
struct ProfileCopy {
  int32_t timestamp;
  const char* tickerBuffer;
  uint32_t tickerLength;
  uint8_t tickerOwned;
  uint8_t tickerChanged;
  std::string ticker;
  std::vector<uint32_t> numbers;

  bool operator==(const ProfileCopy&) const = default;

  void append(const Values& table) {
    numbers.push_back(static_cast<uint32_t>(table.size()));
    for (float value : table) numbers.push_back(std::bit_cast<uint32_t>(value));
  }
  // The snapshot alone: the ticker's buffer and changed flag depend on what
  // the profile held before.
  ProfileCopy content() const {
    ProfileCopy copy = *this;
    copy.tickerBuffer = nullptr;
    copy.tickerChanged = 0;
    return copy;
  }
};

void checkNoInfinity(const Values& values) {
  for (float value : values) FUZZ_CHECK(!std::isinf(value));
}

// Equal value for value, absent where the other is absent.
bool sameValues(const Values& a, const Values& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](float x, float y) { return x == y || (std::isnan(x) && std::isnan(y)); });
}

// The largest absolute value, 0 for none, absent values passed over: the
// base of a bar-scale maximum.
float largestMagnitude(const Values& values) {
  float largest = 0;
  for (float value : values) largest = std::max(largest, std::fabs(value));
  return largest;
}

}  // namespace

namespace fuzz {

// What tells the two profiles apart: the summary members and their keys,
// the key of the rows and the tables a row fills in the order of its elements
// (the strike first), then its priors, and the checks of each profile's own.
struct GexTraits {
  using Profile = GexProfile;
  static constexpr const char* kRowsKey = "strikes";
  static constexpr std::size_t kPriorsPerRow = 5;
  static constexpr const char* kSummaryKeys[] = {
      "spot", "zero_gamma", "major_pos_vol", "major_pos_oi", "major_neg_vol", "major_neg_oi",
      "sum_gex_vol", "sum_gex_oi", "delta_risk_reversal"};
  static Values summaryOf(const GexProfile& p) {
    return {p.spot,         p.zero_gamma,  p.major_pos_vol, p.major_pos_oi,       p.major_neg_vol,
            p.major_neg_oi, p.sum_gex_vol, p.sum_gex_oi,    p.delta_risk_reversal};
  }

  static std::vector<const Values*> rowTables(const GexProfile& p) {
    return {&p.strikes, &p.gex_vol, &p.gex_oi};
  }

  static void appendOwn(ProfileCopy& copy, const GexProfile& p) {
    copy.append({p.max_abs_gex_vol, p.max_abs_gex_oi, p.max_abs_gex});
    for (const auto& pair : p.max_priors) copy.append(pair);
  }

  // The volume scale covers every volume bar and prior dot, the open-interest
  // scale every open-interest bar, each with the 0.001 that keeps a scale
  // above zero; absent values take no part. The joint scale covers both kinds
  // of bar; it may miss priors but never exceeds the larger single scale.
  static void checkOwn(const GexProfile& p) {
    for (const auto& pair : p.max_priors) {
      FUZZ_CHECK(pair.size() == 2);
      checkNoInfinity(pair);
    }
    for (float maximum : {p.max_abs_gex_vol, p.max_abs_gex_oi, p.max_abs_gex})
      FUZZ_CHECK(std::isfinite(maximum));
    const float volume = std::max(largestMagnitude(p.gex_vol), largestMagnitude(p.priors));
    const float openInterest = largestMagnitude(p.gex_oi);
    const float bars = std::max(largestMagnitude(p.gex_vol), openInterest);
    FUZZ_CHECK(p.max_abs_gex_vol == volume + 0.001f);
    FUZZ_CHECK(p.max_abs_gex_oi == openInterest + 0.001f);
    FUZZ_CHECK(p.max_abs_gex >= bars + 0.001f);
    FUZZ_CHECK(p.max_abs_gex <= std::max(p.max_abs_gex_vol, p.max_abs_gex_oi));
    FUZZ_CHECK(p.max_abs_gex_vol >= 0.001f && p.max_abs_gex_oi >= 0.001f && p.max_abs_gex >= 0.001f);
  }

  static void checkOwnAgainstDocument(const GexProfile& p, const JsonValue& root) {
    const JsonValue& maxPriors = member(root, "max_priors");
    FUZZ_CHECK(p.max_priors.size() == elementCount(maxPriors));
    for (size_t i = 0; i < p.max_priors.size(); ++i) {
      const JsonValue& pair = element(maxPriors, i);
      FUZZ_CHECK(sameValues(p.max_priors[i], {number(element(pair, 0)), number(element(pair, 1))}));
    }
  }

  // Without a profile the parser halts before reading and logs nothing.
  static void checkWithoutProfile() { FUZZ_CHECK(loggedLines().empty()); }
};

struct GreekTraits {
  using Profile = GreekProfile;
  static constexpr const char* kRowsKey = "mini_contracts";
  static constexpr std::size_t kPriorsPerRow = 3;
  static constexpr const char* kSummaryKeys[] = {"spot", "major_positive", "major_negative",
                                                  "major_long_gamma", "major_short_gamma"};
  static Values summaryOf(const GreekProfile& p) {
    return {p.spot, p.major_positive, p.major_negative, p.major_long_gamma, p.major_short_gamma};
  }

  static std::vector<const Values*> rowTables(const GreekProfile& p) {
    return {&p.strikes, &p.value_1, &p.value_2, &p.greek_value};
  }

  static void appendOwn(ProfileCopy& copy, const GreekProfile& p) { copy.append({p.max_abs_greek}); }

  // The bar scale covers every greek bar and prior dot, plus the 0.001 that
  // keeps it above zero; the two other values and absent ones take no part.
  static void checkOwn(const GreekProfile& p) {
    const float largest = std::max(largestMagnitude(p.greek_value), largestMagnitude(p.priors));
    FUZZ_CHECK(p.max_abs_greek == largest + 0.001f);
    FUZZ_CHECK(p.max_abs_greek >= 0.001f);
  }

  static void checkOwnAgainstDocument(const GreekProfile&, const JsonValue&) {}

  // Without a profile the parser halts before reading, with one alert.
  static void checkWithoutProfile() { FUZZ_CHECK(loggedOnly(1, "")); }
};

}  // namespace fuzz

namespace {

using Traits = fuzz::FUZZED_PROFILE;
using Profile = Traits::Profile;

ProfileCopy copyOf(const Profile& p) {
  const HostString& t = p.ticker;
  ProfileCopy copy{p.timestamp, t.text, t.length, t.owned, t.changed, hostStringText(t), {}};
  for (const Values* table : Traits::rowTables(p)) copy.append(*table);
  copy.append(p.priors);
  copy.append(Traits::summaryOf(p));
  Traits::appendOwn(copy, p);
  return copy;
}

// What holds for any snapshot, read from the profile alone: the ticker is a
// well-formed host text, every table has a cell per row (priors a fixed number
// per row, whatever the row carried) and no number is infinite. NaN is
// legitimate: a number beyond the float range, or a prior a row did not give,
// is absent.
void checkSnapshot(const Profile& p) {
  const HostString& ticker = p.ticker;
  FUZZ_CHECK((ticker.text == nullptr) == (ticker.length == 0));
  if (ticker.text != nullptr) {
    FUZZ_CHECK(ticker.owned == 1);
    FUZZ_CHECK(ticker.text[ticker.length] == '\0');
    FUZZ_CHECK(std::strlen(ticker.text) == ticker.length);
  }
  for (const Values* table : Traits::rowTables(p)) {
    FUZZ_CHECK(table->size() == p.strikes.size());
    checkNoInfinity(*table);
  }
  FUZZ_CHECK(p.priors.size() == Traits::kPriorsPerRow * p.strikes.size());
  checkNoInfinity(p.priors);
  checkNoInfinity(Traits::summaryOf(p));
  Traits::checkOwn(p);
}

// The snapshot holds what the response holds, row for row.
void checkAgainstDocument(const Profile& p, const JsonValue& root) {
  FUZZ_CHECK(p.timestamp == member(root, "timestamp").GetInt());
  FUZZ_CHECK(std::string(hostStringText(p.ticker)) == text(member(root, "ticker")));
  Values summary;
  for (const char* key : Traits::kSummaryKeys) summary.push_back(number(member(root, key)));
  FUZZ_CHECK(sameValues(Traits::summaryOf(p), summary));

  const JsonValue& rows = member(root, Traits::kRowsKey);
  const std::vector<const Values*> tables = Traits::rowTables(p);
  FUZZ_CHECK(p.strikes.size() == elementCount(rows));
  for (size_t i = 0; i < p.strikes.size(); ++i) {
    Values cells, elements;
    for (size_t column = 0; column < tables.size(); ++column) {
      cells.push_back((*tables[column])[i]);
      elements.push_back(number(element(element(rows, i), column)));
    }
    FUZZ_CHECK(sameValues(cells, elements));
  }
  FUZZ_CHECK(sameValues(p.priors, priorsOf(rows, tables.size(), Traits::kPriorsPerRow)));
  Traits::checkOwnAgainstDocument(p, root);
}

// What the envelope logs at `step` when it decides.
bool loggedAsStep(EnvelopeStep step, const ReferenceReading& reading) {
  switch (step) {
    case EnvelopeStep::ParseError:
      return loggedOnly(0, "");
    case EnvelopeStep::InvalidKey:
      return loggedOnly(1, "ERROR: Invalid API Key.");
    case EnvelopeStep::ServiceError:
      // The whole line, the text escaped as the log shows it; holding it
      // verbatim also rules out its use as a format.
      return loggedOnly(1, ("Tarvio API Error: \"" + reading.errorText + "\". Retrying.").c_str());
    case EnvelopeStep::NotObject:
    case EnvelopeStep::NoTimestamp:
    case EnvelopeStep::Snapshot:
      return loggedLines().empty();
  }
  return false;
}

// The outcome is one of the three values and fits what was logged for it;
// where the reference is certain, it is the reference's outcome with its lines.
void checkEnvelope(const ReferenceReading& reading, ReadOutcome result) {
  FUZZ_CHECK(result == ReadOutcome::Parsed || result == ReadOutcome::Retry ||
             result == ReadOutcome::Halt);
  // Whatever the text: a snapshot is taken silently, a halt is announced.
  if (result == ReadOutcome::Parsed) FUZZ_CHECK(loggedLines().empty());
  if (result == ReadOutcome::Halt) FUZZ_CHECK(loggedOnly(1, ""));
  if (result == ReadOutcome::Retry) FUZZ_CHECK(loggedLines().size() <= 1);
  judgeByReading(reading, EnvelopeStep::ParseError, reading.step, [&](EnvelopeStep step, bool enforced) {
    FUZZ_EXPECT(enforced, result == outcomeOf(step));
    FUZZ_EXPECT(enforced, loggedAsStep(step, reading));
    return true;
  });
}

ReadOutcome parseAndCheck(const char* text, Profile& profile,
                                 const ReferenceReading& reading) {
  const ProfileCopy before = copyOf(profile);
  resetLoggedLines();
  const ReadOutcome result = parseProfile(fuzzHost(), text, &profile);
  checkEnvelope(reading, result);
  if (result != ReadOutcome::Parsed) {
    FUZZ_CHECK(copyOf(profile) == before);
    return result;
  }
  checkSnapshot(profile);
  if (reading.read) checkAgainstDocument(profile, reading.document);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto text = responseText(data, size);
  ReferenceReading reading;
  readReference(text.get(), reading);

  resetLoggedLines();
  FUZZ_CHECK(parseProfile(fuzzHost(), text.get(), static_cast<Profile*>(nullptr)) ==
             ReadOutcome::Halt);
  Traits::checkWithoutProfile();

  Profile fresh;
  const ReadOutcome freshResult = parseAndCheck(text.get(), fresh, reading);
  if (size == 0) {
    // A missing text reads as the empty one.
    Profile unread;
    FUZZ_CHECK(parseAndCheck(nullptr, unread, reading) == freshResult);
  }

  // Deliberately never freed: it carries the last snapshot to the next input.
  static Profile* const kept = new Profile;
  const ReadOutcome keptResult = parseAndCheck(text.get(), *kept, reading);
  FUZZ_CHECK(keptResult == freshResult);
  if (keptResult == ReadOutcome::Parsed) {
    FUZZ_CHECK(copyOf(*kept).content() == copyOf(fresh).content());
    checkSnapshotDrawing(fresh);
  }
  return 0;
}
