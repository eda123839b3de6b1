// The envelope both profile parsers share: its order, its messages and alert
// flags, and that nothing but a usable snapshot touches the profile.
#include <gtest/gtest.h>

#include <string>

#include "support/profile_parse_harness.h"

using namespace tarvio;

namespace {

constexpr const char* kParseError = "<parse error>";  // stands for the parser's own text
constexpr const char* kNoMessage = "";

struct EnvelopeCase {
  const char* name;
  std::string body;
  tarvio::ReadOutcome outcome;
  const char* message;
  bool alert;
};

constexpr const char* kPreviousSnapshot =
    R"({"timestamp":1,"ticker":"SPX","strikes":[[5800,1,2,[1,1,1,1,1]]],
        "mini_contracts":[[5800,1,2,3,[1,1,1]]]})";

class ProfileEnvelope : public testing::TestWithParam<EnvelopeCase> {
 protected:
  template <class Profile>
  void check(Profile& profile, const char* parseErrorMessage) {
    const EnvelopeCase& c = GetParam();
    ASSERT_EQ(harness.parse(kPreviousSnapshot, &profile), tarvio::ReadOutcome::Parsed);
    EXPECT_EQ(harness.parse(c.body, &profile), c.outcome);

    const std::string expected = c.message == kParseError ? parseErrorMessage : c.message;
    if (expected.empty()) {
      EXPECT_TRUE(harness.log().empty()) << harness.log().front().text;
    } else {
      ASSERT_EQ(harness.log().size(), 1u);
      EXPECT_EQ(harness.log()[0].text, expected);
      EXPECT_EQ(harness.log()[0].alert, c.alert);
    }
    if (c.outcome == tarvio::ReadOutcome::Parsed) {
      EXPECT_STREQ(hostStringText(profile.ticker), "");
      EXPECT_TRUE(profile.strikes.empty());
    } else {
      EXPECT_STREQ(hostStringText(profile.ticker), "SPX");
      EXPECT_EQ(profile.strikes.size(), 1u);
    }
  }

  ProfileParseHarness harness;
};

TEST_P(ProfileEnvelope, GexParser) {
  GexProfile profile;
  check(profile, "GEX Profile json parse error. Retrying.");
}

TEST_P(ProfileEnvelope, GreekParser) {
  GreekProfile profile;
  check(profile, "Greek Profile json parse error. Retrying.");
}

constexpr auto Parsed = tarvio::ReadOutcome::Parsed;
constexpr auto Retry = tarvio::ReadOutcome::Retry;
constexpr auto Halt = tarvio::ReadOutcome::Halt;
constexpr const char* kHaltMessage = "Tarvio API Error: ERROR: Invalid API Key. Halting requests.";

INSTANTIATE_TEST_SUITE_P(
    Steps, ProfileEnvelope,
    testing::Values(
        EnvelopeCase{"EmptyBody", "", Retry, kParseError, false},
        EnvelopeCase{"BlankBody", " \r\n\t", Retry, kParseError, false},
        EnvelopeCase{"TrailingCharacter", R"({"timestamp":1} ,)", Retry, kParseError, false},
        EnvelopeCase{"ByteOrderMark", "\xEF\xBB\xBF{\"timestamp\":1}", Retry, kParseError, false},
        EnvelopeCase{"NumberBeyondDoubleRange", R"({"timestamp":1,"spot":1e400})", Retry, kParseError, false},
        EnvelopeCase{"HostileNesting", R"({"timestamp":1,"x":)" + std::string(50000, '['), Retry,
                     kParseError, false},
        EnvelopeCase{"ArrayRoot", R"([{"timestamp":1}])", Retry, kNoMessage, false},
        EnvelopeCase{"StringRoot", R"("ERROR: Invalid API Key.")", Retry, kNoMessage, false},
        EnvelopeCase{"InvalidKey", R"({"message":"ERROR: Invalid API Key."})", Halt, kHaltMessage, true},
        EnvelopeCase{"InvalidKeyBeforeError", R"({"error":"busy","message":"ERROR: Invalid API Key."})",
                     Halt, kHaltMessage, true},
        EnvelopeCase{"InvalidKeyBesideTimestamp", R"({"timestamp":1,"message":"ERROR: Invalid API Key."})",
                     Halt, kHaltMessage, true},
        EnvelopeCase{"InvalidKeyEndsAtEscapedNul",
                     R"({"message":"ERROR: Invalid API Key.\u0000 and more"})", Halt, kHaltMessage, true},
        EnvelopeCase{"InvalidKeyWithTrailingBlank", R"({"message":"ERROR: Invalid API Key. "})", Retry,
                     kNoMessage, false},
        EnvelopeCase{"InvalidKeyInOtherCase", R"({"message":"ERROR: invalid API key."})", Retry,
                     kNoMessage, false},
        EnvelopeCase{"OtherMessageBesideTimestamp", R"({"message":"delayed data","timestamp":1})", Parsed,
                     kNoMessage, false},
        EnvelopeCase{"MessageOfAnotherKind", R"({"message":["ERROR: Invalid API Key."],"timestamp":1})",
                     Parsed, kNoMessage, false},
        EnvelopeCase{"ErrorString", R"({"error":"Rate limit reached"})", Retry,
                     R"(Tarvio API Error: "Rate limit reached". Retrying.)", true},
        EnvelopeCase{"ErrorBesideTimestamp", R"({"timestamp":1,"error":"stale"})", Retry,
                     R"(Tarvio API Error: "stale". Retrying.)", true},
        EnvelopeCase{"ErrorWithPercentSigns", R"({"error":"100%s %d"})", Retry,
                     R"(Tarvio API Error: "100%s %d". Retrying.)", true},
        EnvelopeCase{"ErrorNumber", R"({"error":500,"timestamp":1})", Parsed, kNoMessage, false},
        EnvelopeCase{"ErrorObject", R"({"error":{"code":500},"timestamp":1})", Parsed, kNoMessage, false},
        EnvelopeCase{"OnlyFirstErrorCounts", R"({"error":"first","error":"second"})", Retry,
                     R"(Tarvio API Error: "first". Retrying.)", true},
        EnvelopeCase{"FirstErrorNotAString", R"({"error":null,"error":"second","timestamp":1})", Parsed,
                     kNoMessage, false},
        EnvelopeCase{"NoTimestamp", R"({"ticker":"SPX"})", Retry, kNoMessage, false},
        EnvelopeCase{"TimestampWithFraction", R"({"timestamp":17.0})", Retry, kNoMessage, false},
        EnvelopeCase{"TimestampWithExponent", R"({"timestamp":1.7e1})", Retry, kNoMessage, false},
        EnvelopeCase{"TimestampBeyond32Bits", R"({"timestamp":2147483648})", Retry, kNoMessage, false},
        EnvelopeCase{"TimestampAsString", R"({"timestamp":"17"})", Retry, kNoMessage, false},
        EnvelopeCase{"TimestampNull", R"({"timestamp":null})", Retry, kNoMessage, false},
        EnvelopeCase{"NegativeTimestamp", R"({"timestamp":-5})", Parsed, kNoMessage, false},
        EnvelopeCase{"LargestTimestamp", R"({"timestamp":2147483647})", Parsed, kNoMessage, false},
        EnvelopeCase{"FirstTimestampCounts", R"({"timestamp":"x","timestamp":1})", Retry, kNoMessage,
                     false}),
    [](const testing::TestParamInfo<EnvelopeCase>& info) { return std::string(info.param.name); });

TEST(ProfileEnvelopeWithoutProfile, GexParserHaltsSilently) {
  ProfileParseHarness harness;
  EXPECT_EQ(harness.parse(R"({"timestamp":1})", static_cast<GexProfile*>(nullptr)), Halt);
  EXPECT_TRUE(harness.log().empty());
}

TEST(ProfileEnvelopeWithoutProfile, GreekParserHaltsWithAnAlert) {
  ProfileParseHarness harness;
  EXPECT_EQ(harness.parse(R"({"timestamp":1})", static_cast<GreekProfile*>(nullptr)), Halt);
  ASSERT_EQ(harness.log().size(), 1u);
  EXPECT_EQ(harness.log()[0].text, "Tarvio: p_greek_data is null.");
  EXPECT_TRUE(harness.log()[0].alert);
}

}  // namespace
