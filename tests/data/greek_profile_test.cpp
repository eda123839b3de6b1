// Filling a gamma or delta profile from a response: four value columns, three
// priors per row and one bar-scale maximum.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/profile_parse_harness.h"

using namespace tarvio;

namespace {

using Floats = std::vector<float>;
using testing::NanSensitiveFloatEq;
using testing::Pointwise;

// An interval a row did not carry.
constexpr float kNone = NAN;

class GreekProfileFilling : public testing::Test {
 protected:
  void parse(const std::string& body) {
    ASSERT_EQ(harness.parse(body, &profile), tarvio::ReadOutcome::Parsed) << body;
  }
  ProfileParseHarness harness;
  GreekProfile profile;
};

TEST_F(GreekProfileFilling, ReadsEveryMemberOfARealisticResponse) {
  parse(R"({"timestamp":1772463600,"ticker":"SPX","spot":5812.37,"major_positive":5850.5,
    "major_negative":5750.25,"major_long_gamma":5900,"major_short_gamma":5700,
    "mini_contracts":[[5800,1250.5,-980.25,-0.0452,[-0.05,-0.04,-0.03]],
                      [5805,310.75,402.5,0.0871,[0.08,0.07,0.06]]]})");
  EXPECT_EQ(profile.timestamp, 1772463600);
  EXPECT_STREQ(hostStringText(profile.ticker), "SPX");
  EXPECT_EQ(profile.spot, 5812.37f);
  EXPECT_EQ(profile.major_positive, 5850.5f);
  EXPECT_EQ(profile.major_negative, 5750.25f);
  EXPECT_EQ(profile.major_long_gamma, 5900.0f);
  EXPECT_EQ(profile.major_short_gamma, 5700.0f);
  EXPECT_EQ(profile.strikes, (Floats{5800, 5805}));
  EXPECT_EQ(profile.value_1, (Floats{1250.5f, 310.75f}));
  EXPECT_EQ(profile.value_2, (Floats{-980.25f, 402.5f}));
  EXPECT_EQ(profile.greek_value, (Floats{-0.0452f, 0.0871f}));
  EXPECT_EQ(profile.priors, (Floats{-0.05f, -0.04f, -0.03f, 0.08f, 0.07f, 0.06f}));
  // The value columns are large but take no part in the maximum.
  EXPECT_EQ(profile.max_abs_greek, 0.0871f + 0.001f);
}

struct GreekCase {
  const char* name;
  const char* rows;
  Floats greek;
  Floats priors;
  float maximum;
};

class GreekProfileRows : public GreekProfileFilling, public testing::WithParamInterface<GreekCase> {};

TEST_P(GreekProfileRows, FillTheTableAndTheMaximum) {
  parse(std::string(R"({"timestamp":1,"mini_contracts":)") + GetParam().rows + "}");
  EXPECT_THAT(profile.greek_value, Pointwise(NanSensitiveFloatEq(), GetParam().greek));
  EXPECT_THAT(profile.priors, Pointwise(NanSensitiveFloatEq(), GetParam().priors));
  EXPECT_EQ(profile.max_abs_greek, GetParam().maximum);
  EXPECT_EQ(profile.strikes.size(), GetParam().greek.size());
  EXPECT_EQ(profile.value_1.size(), GetParam().greek.size());
  EXPECT_EQ(profile.value_2.size(), GetParam().greek.size());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GreekProfileRows,
    testing::Values(
        GreekCase{"NoRows", "[]", {}, {}, 0.001f},
        GreekCase{"ObjectInsteadOfRows", R"({"a":[1,2,3,4,[]]})", {}, {}, 0.001f},
        GreekCase{"NegativeByMagnitude", "[[1,0,0,-3,[]],[2,0,0,2,[]]]", {-3, 2}, Floats(6, kNone), 3.001f},
        GreekCase{"ValueColumnsIgnored", "[[1,1e6,-1e6,0.5,[]]]", {0.5f}, Floats(3, kNone), 0.501f},
        GreekCase{"PriorSetsTheMaximum", "[[1,0,0,1,[0.5,-6,2]],[2,0,0,2,[1,1,1]]]", {1, 2},
                  {0.5f, -6, 2, 1, 1, 1}, 6.001f},
        // Every row keeps its own three intervals.
        GreekCase{"TwoPriorsStayInTheirRow", "[[1,0,0,1,[1,2]],[2,0,0,1,[3,4,5]]]", {1, 1},
                  {1, 2, kNone, 3, 4, 5}, 5.001f},
        GreekCase{"PriorsPastTheThirdIgnored", "[[1,0,0,1,[1,2,3,4,5,6,-7]],[2,0,0,1,[]]]", {1, 1},
                  {1, 2, 3, kNone, kNone, kNone}, 3.001f},
        GreekCase{"BeyondTheFloatRangeIsAbsent", "[[1,0,0,1e300,[2,-3.5e38,1]],[2,0,0,-4,[]]]",
                  {kNone, -4}, {2, kNone, 1, kNone, kNone, kNone}, 4.001f},
        GreekCase{"ShortAndMalformedRows", R"([[5800,1],"x",[1,2,3,4,{"p":1}]])", {0, 0, 4},
                  Floats(9, kNone), 4.001f}),
    [](const testing::TestParamInfo<GreekCase>& info) { return std::string(info.param.name); });

TEST_F(GreekProfileFilling, TimestampAloneReplacesTheSnapshotWithAnEmptyOne) {
  parse(R"({"timestamp":1,"ticker":"SPX","major_long_gamma":5900,"mini_contracts":[[1,2,3,4,[5,6,7]]]})");
  parse(R"({"timestamp":2})");
  EXPECT_EQ(profile.timestamp, 2);
  EXPECT_STREQ(hostStringText(profile.ticker), "");
  EXPECT_EQ(profile.major_long_gamma, 0.0f);
  EXPECT_TRUE(profile.strikes.empty() && profile.value_1.empty() && profile.value_2.empty());
  EXPECT_TRUE(profile.greek_value.empty() && profile.priors.empty());
  EXPECT_EQ(profile.max_abs_greek, 0.001f);
}

}  // namespace
