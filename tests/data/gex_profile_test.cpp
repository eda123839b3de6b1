// Filling a GEX profile from a response: the tables, the priors and the bar
// scale maxima in the order that decides them.
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

class GexProfileFilling : public testing::Test {
 protected:
  void parse(const std::string& body) {
    ASSERT_EQ(harness.parse(body, &profile), tarvio::ReadOutcome::Parsed) << body;
  }
  ProfileParseHarness harness;
  GexProfile profile;
};

TEST_F(GexProfileFilling, ReadsEveryMemberOfARealisticResponse) {
  parse(R"({"timestamp":1772463600,"ticker":"ES_SPX","spot":5812.37,"zero_gamma":5790.5,
    "major_pos_vol":5850,"major_pos_oi":5900,"major_neg_vol":5750,"major_neg_oi":5700,
    "sum_gex_vol":-1234.5678,"sum_gex_oi":98765.4321,"delta_risk_reversal":-0.125,
    "strikes":[[5800,-15.25,120.5,[-14.0,-13.5,-12.0,-11.0,-10.0]],
               [5805,42.125,-80.0,[40.0,39.0,38.0,37.0,36.0]]],
    "max_priors":[[5800,-1.5],[5805,2.5],[5810,3.5],[5815,4.5],[5820,5.5]]})");
  EXPECT_EQ(profile.timestamp, 1772463600);
  EXPECT_STREQ(hostStringText(profile.ticker), "ES_SPX");
  EXPECT_EQ(profile.spot, 5812.37f);
  EXPECT_EQ(profile.zero_gamma, 5790.5f);
  EXPECT_EQ(profile.major_pos_vol, 5850.0f);
  EXPECT_EQ(profile.major_pos_oi, 5900.0f);
  EXPECT_EQ(profile.major_neg_vol, 5750.0f);
  EXPECT_EQ(profile.major_neg_oi, 5700.0f);
  EXPECT_EQ(profile.sum_gex_vol, -1234.5678f);
  EXPECT_EQ(profile.sum_gex_oi, 98765.4321f);
  EXPECT_EQ(profile.delta_risk_reversal, -0.125f);
  EXPECT_EQ(profile.strikes, (Floats{5800, 5805}));
  EXPECT_EQ(profile.gex_vol, (Floats{-15.25f, 42.125f}));
  EXPECT_EQ(profile.gex_oi, (Floats{120.5f, -80.0f}));
  EXPECT_EQ(profile.priors, (Floats{-14, -13.5f, -12, -11, -10, 40, 39, 38, 37, 36}));
  ASSERT_EQ(profile.max_priors.size(), 5u);
  EXPECT_EQ(profile.max_priors[0], (Floats{5800, -1.5f}));
  EXPECT_EQ(profile.max_priors[4], (Floats{5820, 5.5f}));
  EXPECT_EQ(profile.max_abs_gex_vol, 42.125f + 0.001f);
  EXPECT_EQ(profile.max_abs_gex_oi, 120.5f + 0.001f);
  EXPECT_EQ(profile.max_abs_gex, 120.5f + 0.001f);
}

struct MaximaCase {
  const char* name;
  const char* strikes;
  float volume;
  float openInterest;
  float both;
};

class GexProfileMaxima : public GexProfileFilling, public testing::WithParamInterface<MaximaCase> {};

TEST_P(GexProfileMaxima, FollowTheUpdateOrder) {
  parse(std::string(R"({"timestamp":1,"strikes":)") + GetParam().strikes + "}");
  EXPECT_EQ(profile.max_abs_gex_vol, GetParam().volume);
  EXPECT_EQ(profile.max_abs_gex_oi, GetParam().openInterest);
  EXPECT_EQ(profile.max_abs_gex, GetParam().both);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GexProfileMaxima,
    testing::Values(
        MaximaCase{"NoRows", "[]", 0.001f, 0.001f, 0.001f},
        MaximaCase{"StringInsteadOfRows", R"("rows")", 0.001f, 0.001f, 0.001f},
        MaximaCase{"NegativeValuesByMagnitude", "[[1,-7,-9,[]],[2,3,4,[]]]", 7.001f, 9.001f, 9.001f},
        // The last row's priors raise the volume maximum only after the
        // combined maximum has been taken for that row.
        MaximaCase{"LastRowPriorMissesCombined", "[[1,5,3,[1,2]],[2,4,2,[9,-1]]]", 9.001f, 3.001f, 5.001f},
        MaximaCase{"PriorsPastTheFifthTakeNoPart", "[[1,1,1,[1,2,3,4,5,60]]]", 5.001f, 1.001f, 1.001f},
        MaximaCase{"EarlierRowPriorReachesCombined", "[[1,5,3,[-8]],[2,1,1,[]]]", 8.001f, 3.001f, 8.001f},
        MaximaCase{"PriorsNeverRaiseOpenInterest", "[[1,1,2,[50]]]", 50.001f, 2.001f, 2.001f},
        MaximaCase{"EqualValuesKeepTheFirst", "[[1,4,4,[4]],[2,-4,-4,[-4]]]", 4.001f, 4.001f, 4.001f}),
    [](const testing::TestParamInfo<MaximaCase>& info) { return std::string(info.param.name); });

struct RowCase {
  const char* name;
  const char* strikes;
  Floats strikeColumn;
  Floats volume;
  Floats openInterest;
  Floats priors;
};

class GexProfileRows : public GexProfileFilling, public testing::WithParamInterface<RowCase> {};

TEST_P(GexProfileRows, ReadSafelyWhateverTheirShape) {
  parse(std::string(R"({"timestamp":1,"strikes":)") + GetParam().strikes + "}");
  EXPECT_EQ(profile.strikes, GetParam().strikeColumn);
  EXPECT_EQ(profile.gex_vol, GetParam().volume);
  EXPECT_EQ(profile.gex_oi, GetParam().openInterest);
  EXPECT_THAT(profile.priors, Pointwise(NanSensitiveFloatEq(), GetParam().priors));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, GexProfileRows,
    testing::Values(
        RowCase{"KeptInOrderWithDuplicatesAndZeros", "[[5810,0,0,[]],[5800,1,1,[]],[5810,0,0,[]]]",
                {5810, 5800, 5810}, {0, 1, 0}, {0, 1, 0}, Floats(15, kNone)},
        // Every row keeps its own five intervals: a short row leaves its
        // missing ones absent and moves nothing of the rows after it.
        RowCase{"ShortPriorsStayInTheirRow", "[[1,0,0,[-1,-2,-3,-4]],[2,0,0,[10,20,30,40,50]]]",
                {1, 2}, {0, 0}, {0, 0}, {-1, -2, -3, -4, kNone, 10, 20, 30, 40, 50}},
        RowCase{"ExtraPriorsIgnored", "[[1,0,0,[1,2,3,4,5,6,7]],[2,0,0,[8]]]", {1, 2}, {0, 0}, {0, 0},
                {1, 2, 3, 4, 5, 8, kNone, kNone, kNone, kNone}},
        RowCase{"ShortRow", "[[5800]]", {5800}, {0}, {0}, Floats(5, kNone)},
        RowCase{"RowNotAnArray", R"([5800,{"a":1},null])", {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
                Floats(15, kNone)},
        RowCase{"PriorsNotAnArray", R"([[1,2,3,4],[1,2,3,"x"]])", {1, 1}, {2, 2}, {3, 3},
                Floats(10, kNone)},
        RowCase{"ValuesOfOtherKinds", R"([["5800",true,null,[1,"2",[3],null]]])", {0}, {0}, {0},
                {1, 0, 0, 0, kNone}},
        RowCase{"ExtraElementsIgnored", "[[1,2,3,[4],99,[5]]]", {1}, {2}, {3}, {4, kNone, kNone, kNone, kNone}}),
    [](const testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST_F(GexProfileFilling, MaxPriorsKeepTheirCountAndReadShortEntriesSafely) {
  parse(R"({"timestamp":1,"max_priors":[[5800,-2.5],[5805],"x",[1,2,3]]})");
  ASSERT_EQ(profile.max_priors.size(), 4u);
  EXPECT_EQ(profile.max_priors[0], (Floats{5800, -2.5f}));
  EXPECT_EQ(profile.max_priors[1], (Floats{5805, 0}));
  EXPECT_EQ(profile.max_priors[2], (Floats{0, 0}));
  EXPECT_EQ(profile.max_priors[3], (Floats{1, 2}));
}

TEST_F(GexProfileFilling, NullAndOtherKindsOfSummaryMembersReadAsZero) {
  parse(R"({"timestamp":1,"ticker":42,"zero_gamma":null,"spot":"5800","major_pos_vol":[1]})");
  EXPECT_STREQ(hostStringText(profile.ticker), "");
  EXPECT_EQ(profile.zero_gamma, 0.0f);
  EXPECT_EQ(profile.spot, 0.0f);
  EXPECT_EQ(profile.major_pos_vol, 0.0f);
}

TEST_F(GexProfileFilling, TimestampAloneReplacesTheSnapshotWithAnEmptyOne) {
  parse(R"({"timestamp":1,"ticker":"SPX","spot":5800,"strikes":[[1,2,3,[4,5,6,7,8]]],
            "max_priors":[[1,2],[1,2],[1,2],[1,2],[1,2]]})");
  parse(R"({"timestamp":2})");
  EXPECT_EQ(profile.timestamp, 2);
  EXPECT_STREQ(hostStringText(profile.ticker), "");
  EXPECT_EQ(profile.spot, 0.0f);
  EXPECT_TRUE(profile.strikes.empty() && profile.gex_vol.empty() && profile.gex_oi.empty());
  EXPECT_TRUE(profile.priors.empty() && profile.max_priors.empty());
  EXPECT_EQ(profile.max_abs_gex_vol, 0.001f);
  EXPECT_EQ(profile.max_abs_gex_oi, 0.001f);
  EXPECT_EQ(profile.max_abs_gex, 0.001f);
}

TEST_F(GexProfileFilling, RefillsOfOtherSizesLeaveNothingOfThePreviousSnapshot) {
  parse(R"({"timestamp":1,"strikes":[[1,1,1,[1,1,1,1,1]],[2,2,2,[2,2,2,2,2]],[3,3,3,[3]]],
            "max_priors":[[1,1],[2,2],[3,3],[4,4],[5,5]]})");
  parse(R"({"timestamp":2,"strikes":[[7,-8,9,[6,5]]],"max_priors":[[9,9]]})");
  EXPECT_EQ(profile.strikes, (Floats{7}));
  EXPECT_EQ(profile.gex_vol, (Floats{-8}));
  EXPECT_EQ(profile.gex_oi, (Floats{9}));
  EXPECT_THAT(profile.priors, Pointwise(NanSensitiveFloatEq(), Floats{6, 5, kNone, kNone, kNone}));
  ASSERT_EQ(profile.max_priors.size(), 1u);
  EXPECT_EQ(profile.max_priors[0], (Floats{9, 9}));

  parse(R"({"timestamp":3,"strikes":[[1,0,0,[1,2,3,4,5]],[2,0,0,[7,8,9,10,12]]]})");
  EXPECT_EQ(profile.strikes, (Floats{1, 2}));
  EXPECT_EQ(profile.priors, (Floats{1, 2, 3, 4, 5, 7, 8, 9, 10, 12}));
  EXPECT_TRUE(profile.max_priors.empty());
  EXPECT_EQ(profile.max_abs_gex_vol, 12.001f);
}

// A number that fits a double but not a float is absent: not an infinity that
// would put a level at infinity or shrink every bar to one pixel.
TEST_F(GexProfileFilling, NumbersBeyondTheFloatRangeAreAbsent) {
  parse(R"({"timestamp":1,"spot":-1e300,"zero_gamma":3.5e38,"major_pos_vol":3.4e38,
            "strikes":[[1e300,1,2,[]],[5800,1e300,-3.5e38,[4,1e300,-5]]],
            "max_priors":[[1e300,2],[5800,-1e300]]})");
  EXPECT_TRUE(std::isnan(profile.spot));
  EXPECT_TRUE(std::isnan(profile.zero_gamma));
  EXPECT_EQ(profile.major_pos_vol, 3.4e38f);
  EXPECT_THAT(profile.strikes, Pointwise(NanSensitiveFloatEq(), Floats{kNone, 5800}));
  EXPECT_THAT(profile.gex_vol, Pointwise(NanSensitiveFloatEq(), Floats{1, kNone}));
  EXPECT_THAT(profile.gex_oi, Pointwise(NanSensitiveFloatEq(), Floats{2, kNone}));
  EXPECT_THAT(profile.priors, Pointwise(NanSensitiveFloatEq(),
                                        Floats{kNone, kNone, kNone, kNone, kNone, 4, kNone, -5, kNone, kNone}));
  // Absent values take no part in the maxima.
  EXPECT_EQ(profile.max_abs_gex_vol, 5.001f);
  EXPECT_EQ(profile.max_abs_gex_oi, 2.001f);
  EXPECT_EQ(profile.max_abs_gex, 2.001f);
  EXPECT_THAT(profile.max_priors[0], Pointwise(NanSensitiveFloatEq(), Floats{kNone, 2}));
  EXPECT_THAT(profile.max_priors[1], Pointwise(NanSensitiveFloatEq(), Floats{5800, kNone}));
}

}  // namespace
