// How the geometry inputs are read and clamped, how a value is scaled to
// pixels and how the premiums place a price; placement on the chart is covered
// where the callback paints.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "render/profile_geometry.h"
#include "study/chart_price.h"
#include "study/study_inputs.h"
#include "support/study_fixture.h"

using namespace tarvio;

namespace {

struct GeometryCase {
  const char* name;
  int32_t input;
  double value;  // integers and floats alike
  int32_t ProfileGeometry::*field;
  int32_t expected;
};

class GeometryInputs : public testing::TestWithParam<GeometryCase> {};

TEST_P(GeometryInputs, AreClampedIntoRange) {
  StudyFixture study;
  study.chart.setPlotArea(PlotArea{100, 50, 1100, 650});
  HostInput& input = study.instance.input(GetParam().input);
  // A value no integer holds (NaN) leaves the integer at 0: only the float matters there.
  const double value = GetParam().value;
  input.intValue = std::isfinite(value) ? static_cast<int32_t>(value) : 0;
  input.floatValue = static_cast<float>(GetParam().value);
  ProfileGeometry geometry{};
  bool built = false;
  study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
    built = buildProfileGeometry(sc, geometry);
  });
  ASSERT_TRUE(built);
  EXPECT_EQ(geometry.*GetParam().field, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, GeometryInputs,
    testing::Values(
        GeometryCase{"OriginZeroOnLeftEdge", kOriginPositionInput, 0, &ProfileGeometry::originX, 100},
        GeometryCase{"OriginBelowZero", kOriginPositionInput, -5, &ProfileGeometry::originX, 100},
        GeometryCase{"OriginHundredOnRightEdge", kOriginPositionInput, 100, &ProfileGeometry::originX, 1100},
        GeometryCase{"OriginAboveHundred", kOriginPositionInput, 130, &ProfileGeometry::originX, 1100},
        GeometryCase{"ScaleZeroActsAsOne", kBarScaleFactorInput, 0, &ProfileGeometry::maxBarLength, 10},
        GeometryCase{"ScaleNegativeActsAsOne", kBarScaleFactorInput, -3, &ProfileGeometry::maxBarLength, 10},
        GeometryCase{"ScaleAboveHundred", kBarScaleFactorInput, 150, &ProfileGeometry::maxBarLength, 1000},
        GeometryCase{"DotSizeTinyKeepsOnePixel", kPriorDotsSizeInput, 0.1, &ProfileGeometry::dotRadius, 1},
        GeometryCase{"DotSizeHugeStopsAtFifty", kPriorDotsSizeInput, 20, &ProfileGeometry::dotRadius, 50},
        GeometryCase{"DotSizeNotANumber", kPriorDotsSizeInput, NAN, &ProfileGeometry::dotRadius, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeometryBarWidth, OfZeroOrLessIsOneTick) {
  StudyFixture study;
  study.chart.setTickSize(0.25f);
  study.instance.input(kBarWidthInput).intValue = -4;
  ProfileGeometry geometry{};
  study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) { buildProfileGeometry(sc, geometry); });
  EXPECT_EQ(geometry.halfBarHeight, 0.125f);
}

TEST(GeometryPlotArea, AtTheEndsOfTheRangeBuildsWithoutOverflow) {
  StudyFixture study;
  study.chart.setPlotArea(PlotArea{INT32_MIN, 0, INT32_MAX, 10});
  study.instance.input(kOriginPositionInput).intValue = 100;
  ProfileGeometry geometry{};
  bool built = false;
  study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) { built = buildProfileGeometry(sc, geometry); });
  ASSERT_TRUE(built);
  EXPECT_EQ(geometry.plotWidth, INT32_MAX);
  EXPECT_EQ(geometry.originX, -1);
}

struct ScaleCase {
  const char* name;
  bool logarithmic;
  float scaleMax;
  float value;
  int32_t length;
};

class ValueScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(ValueScale, GivesPixelsOfTheFullLength) {
  ProfileGeometry geometry{};
  geometry.maxBarLength = 300;
  geometry.logarithmic = GetParam().logarithmic;
  geometry.scaleMax = GetParam().scaleMax;
  EXPECT_EQ(scaledLength(GetParam().value, geometry), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValueScale,
    testing::Values(ScaleCase{"LinearAtTheMaximum", false, 80, -80, 300},
                    ScaleCase{"LinearHalf", false, 80, 40, 150},
                    ScaleCase{"LogarithmicThird", true, 999, 9, 100},
                    ScaleCase{"MaximumTooSmall", false, 0.00005f, 5, 0},
                    ScaleCase{"LogarithmicMaximumTooSmall", true, 0.00005f, 5, 0},
                    ScaleCase{"InfiniteMaximum", false, INFINITY, INFINITY, 0},
                    ScaleCase{"BeyondTheMaximumSaturates", false, 0.001f, 3e38f, INT32_MAX}),
    [](const auto& info) { return std::string(info.param.name); });

// Bars, level lines and outputs must agree to the bit, so the order of the
// float steps is part of the rule: multiply, shift, then add.
TEST(PremiumPrice, MultipliesThenShiftsThenAddsInFloat) {
  const struct {
    const char* name;
    float level;
    Premiums premiums;
    std::optional<float> shift;
    float price;
  } cases[] = {
      {"offset ticks", 500.0f, {10.0f, 2.0f}, 4 * 0.25f, 1011.0f},
      {"negative offset", 5800.0f, {0.0f, 1.0f}, -3 * 0.25f, 5799.25f},
      // 1 + 2^24 rounds to 2^24 before the additive takes it back to 0.
      {"each step rounded", 1.0f, {-16777216.0f, 1.0f}, 16777216.0f, 0.0f},
      {"no shift", 4500.5f, {-12.5f, 1.001f}, std::nullopt, 4500.5f * 1.001f - 12.5f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(premiumPrice(c.level, c.premiums, c.shift), c.price) << c.name;
  }
}

TEST(PremiumPrice, NoShiftKeepsANegativeZero) {
  EXPECT_TRUE(std::signbit(premiumPrice(-0.0f, Premiums{-0.0f, 1.0f})));
  EXPECT_FALSE(std::signbit(premiumPrice(-0.0f, Premiums{-0.0f, 1.0f}, 0.0f)));
}

TEST(ChartPrice, ALevelOrPriceBeyondTheFloatRangeIsAbsent) {
  EXPECT_EQ(chartPrice(5000.0f, Premiums{25.0f, 1.0f}), 5025.0f);
  EXPECT_FALSE(chartPrice(INFINITY, Premiums{0.0f, 1.0f}));
  EXPECT_FALSE(chartPrice(NAN, Premiums{0.0f, 1.0f}));
  EXPECT_FALSE(chartPrice(3e38f, Premiums{0.0f, 10.0f}));
  EXPECT_FALSE(chartPrice(5000.0f, Premiums{INFINITY, 1.0f}));
}

}  // namespace
