// The profile as the graphics callback paints it through the chart host: bars
// by direction, scale and style, prior dots, the reset calls, the families and
// the repaints that must draw nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/chart_profile_fixture.h"

using namespace tarvio;

namespace {

constexpr HostColor kCallVolume = rgb(0, 255, 0);
constexpr HostColor kPutVolume = rgb(255, 0, 0);
constexpr HostColor kWhite = rgb(255, 255, 255);

std::vector<HostRect> rectanglesOf(const RecordingCanvas& canvas) {
  std::vector<HostRect> found;
  for (const RecordedShape& shape : canvas.shapesOf(ShapeKind::Rectangle)) found.push_back(shape.rect);
  return found;
}

std::vector<int32_t> resetsOf(const RecordingCanvas& canvas) {
  std::vector<int32_t> found;
  for (const RecordedShape& shape : canvas.shapesOf(ShapeKind::Reset)) found.push_back(shape.reset);
  return found;
}

class ProfileDrawing : public ChartProfileFixture {};

// One strike at 5800 (y 350) of value ±100; the scale maximum is 100.001,
// so the bar is trunc(250 × 100 / 100.001) = 249 pixels long.
struct DirectionCase {
  const char* name;
  int32_t direction;
  const char* value;
  HostRect bar;
  HostColor color;
};

class BarDirection : public ProfileDrawing, public testing::WithParamInterface<DirectionCase> {};

TEST_P(BarDirection, GrowsFromTheOriginByDirectionAndSign) {
  loadGex(gexResponse(std::string("[[5800,") + GetParam().value + ",0,[]]]"));
  setValue(kProfileDirectionInput, GetParam().direction);
  const std::vector<RecordedShape> bars = paint().shapesOf(ShapeKind::Rectangle);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(bars[0].rect, GetParam().bar);
  EXPECT_EQ(bars[0].color, GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, BarDirection,
    testing::Values(DirectionCase{"RightPositive", 0, "100", {850, 349, 1099, 351}, kCallVolume},
                    DirectionCase{"RightNegative", 0, "-100", {850, 349, 1099, 351}, kPutVolume},
                    DirectionCase{"LeftPositive", 1, "100", {601, 349, 850, 351}, kCallVolume},
                    DirectionCase{"CenterPositive", 2, "100", {850, 349, 1099, 351}, kCallVolume},
                    DirectionCase{"CenterNegative", 2, "-100", {601, 349, 850, 351}, kPutVolume},
                    DirectionCase{"UnknownActsAsCenter", 9, "-100", {601, 349, 850, 351}, kPutVolume}),
    [](const auto& info) { return std::string(info.param.name); });

struct EdgeCase {
  const char* name;
  int32_t originPercent;
  int32_t direction;
  std::vector<HostRect> bars;
};

class BarEdges : public ProfileDrawing, public testing::WithParamInterface<EdgeCase> {};

TEST_P(BarEdges, AreCutAtThePlotEdges) {
  loadGex(gexResponse("[[5800,100,0,[]]]"));
  setValue(kOriginPositionInput, GetParam().originPercent);
  setValue(kProfileDirectionInput, GetParam().direction);
  EXPECT_EQ(rectanglesOf(paint()), GetParam().bars);
}

INSTANTIATE_TEST_SUITE_P(
    Origins, BarEdges,
    testing::Values(EdgeCase{"PastTheRightEdge", 90, 0, {{1000, 349, 1100, 351}}},
                    EdgeCase{"OriginOnTheRightGrowingRight", 100, 0, {}},
                    EdgeCase{"AboveHundredActsAsHundred", 130, 0, {}},
                    EdgeCase{"OriginOnTheLeftGrowingLeft", 0, 1, {}},
                    EdgeCase{"BelowZeroActsAsZero", -5, 1, {}},
                    EdgeCase{"OriginOnTheLeftGrowingRight", 0, 0, {{100, 349, 349, 351}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Strike 5800 of value 10 beside an off-chart strike that sets the maximum to
// 10.001; 8-tick bars span y 347..353 around the centre line at 350.
struct StyleCase {
  const char* name;
  int32_t style;
  int32_t scalePercent;
  const char* value;
  std::vector<HostRect> rectangles;
};

class BarStyles : public ProfileDrawing, public testing::WithParamInterface<StyleCase> {};

TEST_P(BarStyles, FillTheirRectangles) {
  loadGex(gexResponse(std::string("[[5800,") + GetParam().value + ",0,[]],[6500,10,0,[]]]"));
  setValue(kCallGexVolumeStyleInput, GetParam().style);
  setValue(kBarScaleFactorInput, GetParam().scalePercent);
  setValue(kBarWidthInput, 8);
  EXPECT_EQ(rectanglesOf(paint()), GetParam().rectangles);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, BarStyles,
    testing::Values(
        // 30-pixel scale: the bar is 29 pixels, x 850..879.
        StyleCase{"Line", 0, 3, "10", {{850, 349, 879, 351}}},
        StyleCase{"Dot", 1, 3, "10",
                  {{850, 348, 852, 352}, {856, 348, 858, 352}, {862, 348, 864, 352},
                   {868, 348, 870, 352}, {874, 348, 876, 352}}},
        StyleCase{"Dash", 2, 3, "10", {{850, 347, 858, 353}, {862, 347, 870, 353}, {874, 347, 879, 353}}},
        StyleCase{"Bar", 3, 3, "10", {{850, 347, 879, 353}}},
        StyleCase{"UnknownIsAFullBar", 7, 3, "10", {{850, 347, 879, 353}}},
        // 10-pixel scale: a bar of one pixel still shows a whole dot, and a
        // bar of nine shows one dash, the gap taking the rest.
        StyleCase{"DotOnAOnePixelBar", 1, 1, "1.5", {{850, 348, 852, 352}}},
        StyleCase{"DashOnANinePixelBar", 2, 1, "10", {{850, 347, 858, 353}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileDrawing, OneStrikeDrawsItsBarThenItsDotsEachFollowedByTheResets) {
  // Default dots: 5- and 15-minute priors, diamonds of radius 4. The 15-minute
  // prior is 0 and gets no dot.
  loadGex(gexResponse("[[5800,100,0,[0,90,0,0,0]]]"));
  const RecordingCanvas& canvas = paint();
  std::vector<ShapeKind> kinds;
  for (const RecordedShape& shape : canvas.shapes()) kinds.push_back(shape.kind);
  using K = ShapeKind;
  EXPECT_EQ(kinds, (std::vector<K>{K::Rectangle, K::Reset, K::Reset, K::Reset, K::Brush, K::Polygon,
                                   K::Reset, K::Reset, K::Reset, K::Reset, K::Reset, K::Reset}));
  EXPECT_EQ(resetsOf(canvas), (std::vector<int32_t>{3, 2, 1, 6, 4, 5, 3, 2, 1}));
  // The 90 prior lies trunc(250 × 90 / 100.001) = 224 pixels right of 850.
  const RecordedShape brush = canvas.shapesOf(ShapeKind::Brush).at(0);
  EXPECT_EQ(brush.fill, (HostFillRecord{1, static_cast<int32_t>(kWhite), 0, 0}));
  EXPECT_EQ(canvas.shapesOf(ShapeKind::Polygon)[0].points,
            (std::vector<HostPoint>{{1074, 346}, {1078, 350}, {1074, 354}, {1070, 350}}));
}

struct DotStyleCase {
  const char* name;
  int32_t style;
  float size;
  ShapeKind kind;
  HostRect box;
};

class DotStyles : public ProfileDrawing, public testing::WithParamInterface<DotStyleCase> {};

TEST_P(DotStyles, PaintTheirShapeInTheDotsBox) {
  loadGex(gexResponse("[[5800,100,0,[0,90,0,0,0]]]"));
  setValue(kPriorDotsStyleInput, GetParam().style);
  setFloat(kPriorDotsSizeInput, GetParam().size);
  const std::vector<RecordedShape> dots = paint().shapesOf(GetParam().kind);
  ASSERT_EQ(dots.size(), GetParam().kind == ShapeKind::Rectangle ? 2u : 1u);
  EXPECT_EQ(dots.back().rect, GetParam().box);
  EXPECT_EQ(dots.back().color, kWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, DotStyles,
    testing::Values(DotStyleCase{"Point", 0, 1.0f, ShapeKind::Ellipse, {1070, 346, 1078, 354}},
                    DotStyleCase{"Square", 2, 1.0f, ShapeKind::Rectangle, {1070, 346, 1078, 354}},
                    DotStyleCase{"UnknownIsASquare", 5, 1.0f, ShapeKind::Rectangle, {1070, 346, 1078, 354}},
                    DotStyleCase{"TinySizeKeepsRadiusOne", 2, 0.1f, ShapeKind::Rectangle, {1073, 349, 1075, 351}},
                    DotStyleCase{"HugeSizeStopsAtFifty", 0, 20.0f, ShapeKind::Ellipse, {1024, 300, 1124, 400}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileDrawing, PriorDotsFollowTheirSwitchesColoursAndSigns) {
  loadGex(gexResponse("[[5800,100,0,[10,20,30,40,-50]]]"));
  setValue(kPriorDotsStyleInput, 2);
  for (int32_t k = 0; k < 5; ++k) setValue(kFirstPriorDotDisplayInput + k, 1);
  std::vector<RecordedShape> squares = paint().shapesOf(ShapeKind::Rectangle);
  ASSERT_EQ(squares.size(), 6u);
  // 10, 20, 30 and 40 grow right by 24, 49, 74 and 99 pixels; -50 grows left
  // by 124, as its bar would.
  const int32_t xs[] = {874, 899, 924, 949, 726};
  const HostColor colors[] = {kWhite, kWhite, rgb(0, 162, 222), rgb(0, 108, 192), rgb(0, 52, 148)};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(squares[1 + k].rect, (HostRect{xs[k] - 4, 346, xs[k] + 4, 354})) << k;
    EXPECT_EQ(squares[1 + k].color, colors[k]) << k;
  }
  setValue(kFirstPriorDotDisplayInput + 2, 0);
  EXPECT_EQ(paint().shapesOf(ShapeKind::Rectangle).size(), 5u);
}

// A row with four priors must not move the dots of the rows after it: each
// strike's dot shows its own interval, and a missing interval has no dot.
TEST_F(ProfileDrawing, EveryStrikeKeepsItsOwnPriorsWhateverTheRowBeforeCarries) {
  loadGex(gexResponse("[[5800,-50,0,[-1,-2,-3,-4]],[5810,100,0,[10,20,30,40,50]]]"));
  setValue(kPriorDotsStyleInput, 2);
  for (int32_t k = 0; k < 5; ++k) setValue(kFirstPriorDotDisplayInput + k, k == 1 ? 1 : 0);
  // Strike 5810 (y 320): its 5-minute value 20 is 49 pixels right of the
  // origin; strike 5800 (y 350): -2 is 4 pixels left.
  std::vector<HostRect> dots;
  for (const RecordedShape& shape : paint().shapesOf(ShapeKind::Rectangle)) {
    if (shape.rect.right - shape.rect.left == 8) dots.push_back(shape.rect);
  }
  EXPECT_EQ(dots, (std::vector<HostRect>{{895, 316, 903, 324}, {842, 346, 850, 354}}));

  // The 30-minute dot: 5810 has one (50, 124 pixels), 5800 has none.
  setValue(kFirstPriorDotDisplayInput + 1, 0);
  setValue(kFirstPriorDotDisplayInput + 4, 1);
  dots.clear();
  for (const RecordedShape& shape : paint().shapesOf(ShapeKind::Rectangle)) {
    if (shape.rect.right - shape.rect.left == 8) dots.push_back(shape.rect);
  }
  EXPECT_EQ(dots, (std::vector<HostRect>{{970, 316, 978, 324}}));
}

// A value beyond the float range is absent: it draws nothing and does not
// shrink the other bars to a pixel by an infinite maximum.
TEST_F(ProfileDrawing, ValuesBeyondTheFloatRangeDrawNothingAndLeaveTheScaleAlone) {
  loadGex(gexResponse("[[5800,100,0,[]],[5810,1e300,0,[]],[1e300,50,0,[]]]"));
  const std::vector<HostRect> bars = rectanglesOf(paint());
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(bars[0].left, 850);
  EXPECT_EQ(bars[0].right, 1099);
}

TEST_F(ProfileDrawing, DotsOfAnUndrawnBarAreMovedInsideByTheirRadius) {
  // Origin on the left edge growing left: no bar, but the 5-minute dot (64
  // pixels long) lands on plotLeft + 4, and a prior too small for a pixel sits
  // on the origin.
  loadGex(gexResponse("[[5800,100,0,[0,26,0,0.001,0]]]"));
  setValue(kOriginPositionInput, 0);
  setValue(kProfileDirectionInput, 1);
  setValue(kPriorDotsStyleInput, 2);
  EXPECT_EQ(rectanglesOf(paint()), (std::vector<HostRect>{{100, 346, 108, 354}, {96, 346, 104, 354}}));
}

TEST_F(ProfileDrawing, TheRegionEdgesDecideBarsAndDotsStrictly) {
  // 5700 lies on plotBottom (y 650) and 5900 on plotTop (y 50). Each bar has
  // an edge strictly inside and is drawn; dots on the edges are not.
  loadGex(gexResponse("[[5700,100,0,[0,50,0,0,0]],[5900,90,0,[0,50,0,0,0]]]"));
  EXPECT_EQ(rectanglesOf(paint()), (std::vector<HostRect>{{850, 649, 1099, 651}, {850, 49, 1074, 51}}));
  EXPECT_TRUE(paint().shapesOf(ShapeKind::Polygon).empty());
  // With a hairline bar the bottom strike's top edge is the edge itself.
  study.chart.setTickSize(0.0001f);
  EXPECT_EQ(rectanglesOf(paint()), (std::vector<HostRect>{{850, 50, 1074, 51}}));
}

TEST_F(ProfileDrawing, ValuesTooSmallForAPixelKeepOnePixel) {
  loadGex(gexResponse("[[5800,0.01,0,[]],[6500,100000,0,[]]]"));
  study.chart.setTickSize(0.0001f);
  EXPECT_EQ(rectanglesOf(paint()), (std::vector<HostRect>{{850, 350, 851, 351}}));
}

TEST_F(ProfileDrawing, LogarithmicScalingLengthensSmallValues) {
  loadGex(gexResponse("[[5800,10,0,[]],[6500,999,0,[]]]"));
  setValue(kLogarithmicScalingInput, 1);
  // log10(11) / log10(1000.001) of 250 pixels.
  EXPECT_EQ(rectanglesOf(paint()), (std::vector<HostRect>{{850, 349, 936, 351}}));
  setValue(kLogarithmicScalingInput, 0);
  EXPECT_EQ(rectanglesOf(paint()), (std::vector<HostRect>{{850, 349, 852, 351}}));
}

TEST_F(ProfileDrawing, BothModeDrawsOpenInterestOverVolumeOnOneScaleWithoutDots) {
  loadGex(gexResponse("[[5800,50,50,[0,50,0,0,0]],[6500,10,100,[]]]"));
  setValue(kGexDisplayInput, 2);
  setValue(kCallGexOiColorInput, rgb(1, 2, 3));
  for (int32_t k = 0; k < 5; ++k) setValue(kFirstPriorDotDisplayInput + k, 1);
  setValue(kPriorDotsStyleInput, 2);
  const std::vector<RecordedShape> shapes = paint().shapesOf(ShapeKind::Rectangle);
  ASSERT_EQ(shapes.size(), 3u);
  // 50 of max_abs_gex 100.001: 124 pixels for both bars.
  EXPECT_EQ(shapes[0].rect, (HostRect{850, 349, 974, 351}));
  EXPECT_EQ(shapes[0].color, kCallVolume);
  EXPECT_EQ(shapes[1].rect, (HostRect{970, 346, 978, 354}));
  EXPECT_EQ(shapes[2].rect, (HostRect{850, 349, 974, 351}));
  EXPECT_EQ(shapes[2].color, rgb(1, 2, 3));
  // Volume alone scales by its own maximum (50.001): nearly the full 250.
  setValue(kGexDisplayInput, 0);
  EXPECT_EQ(rectanglesOf(paint())[0], (HostRect{850, 349, 1099, 351}));
}

TEST_F(ProfileDrawing, TopNFiltersKeepTheLargestOfEachSide) {
  loadGex(gexResponse("[[5750,-30,0,[]],[5800,100,0,[]],[5850,50,0,[]],[5860,-60,0,[]]]"));
  setValue(kCallGexVolumeFilterInput, 1);
  setValue(kCallGexVolumeFilterInput + 1, -1);  // all
  const std::vector<RecordedShape> bars = paint().shapesOf(ShapeKind::Rectangle);
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_EQ(bars[0].rect.top, 349);  // 5800, then 5860 and 5750, most negative first
  EXPECT_EQ(bars[1].rect.top, 169);
  EXPECT_EQ(bars[2].rect.top, 499);
}

struct GreekCase {
  const char* name;
  int32_t kind;
  HostColor positive;
  HostColor negative;
  HostColor firstDot;
};

class GreekFamilies : public ProfileDrawing, public testing::WithParamInterface<GreekCase> {};

TEST_P(GreekFamilies, DrawTheGreekValueWithThreePriorsPerStrike) {
  loadGex(gexResponse("[[5800,100,0,[]]]"));
  loadGreek(greekResponse("[[5800,1,2,0.09,[0.08,0,0]],[5850,1,2,-0.045,[0,0,0]]]"));
  setValue(kGreekInput, GetParam().kind);
  setValue(kPriorDotsStyleInput, 2);
  const std::vector<RecordedShape> shapes = paint().shapesOf(ShapeKind::Rectangle);
  ASSERT_EQ(shapes.size(), 3u);
  // Maximum 0.091: 0.09 → 247 pixels, 0.08 → 219, -0.045 → 123 to the left.
  EXPECT_EQ(shapes[0].rect, (HostRect{850, 349, 1097, 351}));
  EXPECT_EQ(shapes[0].color, GetParam().positive);
  EXPECT_EQ(shapes[1].rect, (HostRect{1065, 346, 1073, 354}));
  EXPECT_EQ(shapes[1].color, GetParam().firstDot);
  EXPECT_EQ(shapes[2].rect, (HostRect{727, 199, 850, 201}));
  EXPECT_EQ(shapes[2].color, GetParam().negative);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, GreekFamilies,
    testing::Values(GreekCase{"Gamma0dte", 3, rgb(0, 255, 255), rgb(199, 19, 240), kWhite},
                    GreekCase{"Gamma1dte", 4, rgb(0, 255, 255), rgb(199, 19, 240), kWhite},
                    GreekCase{"Delta0dte", 5, rgb(76, 175, 80), rgb(208, 2, 27), kWhite}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileDrawing, NothingIsDrawnWithoutEverythingARepaintNeeds) {
  loadGex(gexResponse("[[5800,100,0,[]]]"));
  ASSERT_FALSE(paint().shapes().empty());

  study.instance.store().intValue(kProfileReadyKey) = 0;
  EXPECT_TRUE(paint().shapes().empty()) << "not ready";
  study.instance.store().intValue(kProfileReadyKey) = 1;

  for (int32_t key : {kGexProfileKey, kGreekProfileKey}) {
    void*& slot = study.instance.store().pointerValue(key);
    void* kept = slot;
    slot = nullptr;
    EXPECT_TRUE(paint().shapes().empty()) << "no profile under key " << key;
    slot = kept;
  }

  setValue(kGreekInput, 3);  // gamma, but the greek profile has no strikes
  EXPECT_TRUE(paint().shapes().empty());
  setValue(kGreekInput, 7);
  EXPECT_TRUE(paint().shapes().empty());
  setValue(kGreekInput, 0);

  const PlotArea degenerate[] = {{100, 50, 1100, 0}, {100, 50, 0, 650}, {100, 50, 100, 650},
                                 {600, 50, 500, 650}, {-100, -50, -10, -5}};
  for (const PlotArea& area : degenerate) {
    study.chart.setPlotArea(area);
    EXPECT_TRUE(paint().shapes().empty()) << area.left << " " << area.right << " " << area.bottom;
  }
}

TEST_F(ProfileDrawing, OddProfilesDrawOnlyInsideThePlot) {
  const std::string bodies[] = {
      // Rows with fewer and more priors than five, so priors and rows drift apart.
      "[[5800,100,5,[]],[5810,-50,5,[1,2]],[5820,20,5,[1,2,3,4,5,6,7,8]],[5830,5,5,[9]]]",
      // Values beyond the float range are absent.
      "[[5800,1e39,-1e39,[1e39,-1e39,5,5,5]],[5810,-50,5,[1e39]]]",
      "[]",
  };
  for (int32_t display = 0; display < 3; ++display) {
    for (const std::string& rows : bodies) {
      loadGex(gexResponse(rows));
      setValue(kGexDisplayInput, display);
      for (int32_t k = 0; k < 5; ++k) setValue(kFirstPriorDotDisplayInput + k, 1);
      for (const RecordedShape& shape : paint().shapes()) {
        if (shape.kind != ShapeKind::Rectangle) continue;
        EXPECT_GE(shape.rect.left, 96) << rows;
        EXPECT_LE(shape.rect.right, 1104) << rows;
      }
    }
  }
  // A prior list cut short under a full strike table: the second strike keeps
  // two of its five dots.
  loadGex(gexResponse("[[5800,100,5,[1,2,3,4,5]],[5810,50,5,[1,2,3,4,5]]]"));
  gex->priors.resize(7);
  EXPECT_EQ(paint().shapesOf(ShapeKind::Polygon).size(), 7u);
}

}  // namespace
