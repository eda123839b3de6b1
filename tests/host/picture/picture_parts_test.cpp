// The parts of a chart picture on their own: round price steps, the price
// range, calendar fields and time labels of chart times, and the canvas the
// study's graphics reach.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "host/picture/cairo_canvas.h"
#include "host/picture/calendar_time.h"
#include "host/picture/picture_test_support.h"
#include "host/picture/picture_text.h"
#include "host/picture/price_axis.h"
#include "host/picture/price_range.h"
#include "host/picture/time_axis.h"

using namespace chart_host;

namespace {

TEST(ChartPictureParts, PriceStepsAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen) {
  const struct {
    double range;
    double height;
    double step;
  } cases[] = {{30, 840, 2},   {60, 1000, 5},   {5.5, 1000, 0.25}, {2.2, 500, 0.2},
               {100, 440, 10}, {50, 1000, 2.5}, {4000, 800, 250},  {0, 800, 1},
               {NAN, 800, 1},  {10, 0, 1}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(roundPriceStep(c.range, c.height, 44.0), c.step) << c.range;
  }
}

TEST(ChartPictureParts, PriceRangeTakesInNearLevelsOnly) {
  const std::vector<Bar> bars = {{0, 5800, 5810, 5795, 5805, 1}, {0, 5805, 5806, 5800, 5802, 1}};
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    const char* name;
    std::vector<float> levels;
    float lowest;   // the range reaches at least this low
    float highest;  // and this high
    float below;    // and no further than this low
    float above;    // and high
  } cases[] = {
      {"BarsAlone", {}, 5795, 5810, 5793, 5812},
      {"NearAbove", {5822}, 5795, 5822, 5793, 5825},
      {"NearBelow", {5781}, 5781, 5810, 5778, 5812},
      {"FarAboveAndBelow", {6500, 100, 5826}, 5795, 5810, 5793, 5812},
      {"NotNumbers", {NAN, inf, -inf}, 5795, 5810, 5793, 5812},
  };
  for (const auto& c : cases) {
    const PriceRange range = fitPriceRange(bars, c.levels, 0.25f);
    EXPECT_LE(range.low, c.lowest) << c.name;
    EXPECT_GE(range.high, c.highest) << c.name;
    EXPECT_GE(range.low, c.below) << c.name;
    EXPECT_LE(range.high, c.above) << c.name;
  }
  // Without bars the levels are fitted; without either the range is 0..1; a
  // flat market still spans a few ticks.
  const PriceRange levelsOnly = fitPriceRange({}, std::vector<float>{5700, 5900}, 0.25f);
  EXPECT_LE(levelsOnly.low, 5700);
  EXPECT_GE(levelsOnly.high, 5900);
  const PriceRange nothing = fitPriceRange({}, {}, 0.25f);
  EXPECT_EQ(nothing.low, 0.0f);
  EXPECT_EQ(nothing.high, 1.0f);
  const std::vector<Bar> flat = {{0, 5800, 5800, 5800, 5800, 1}};
  const PriceRange flatRange = fitPriceRange(flat, {}, 0.25f);
  EXPECT_GE(flatRange.high - flatRange.low, 2.0f);
  EXPECT_LT(flatRange.low, 5800.0f);
  EXPECT_GT(flatRange.high, 5800.0f);
}

TEST(ChartPictureParts, CalendarFieldsOfChartTimes) {
  constexpr HostDateTime kMinute = 60000000;
  const struct {
    HostDateTime time;
    int32_t year, month, day, hour, minute;
  } cases[] = {{0, 1899, 12, 30, 0, 0},
               {-kMinute, 1899, 12, 29, 23, 59},
               {61 * kMicrosecondsPerDay, 1900, 3, 1, 0, 0},
               {36585 * kMicrosecondsPerDay + 90 * kMinute, 2000, 2, 29, 1, 30},
               {atTimeOfDay(kMonday2026_03_02, 10, 5), 2026, 3, 2, 10, 5},
               {std::numeric_limits<HostDateTime>::min(), 0, 0, 0, -1, -1}};
  for (const auto& c : cases) {
    const CalendarTime time = calendarTime(c.time);
    if (c.hour < 0) continue;  // only that it does not overflow
    EXPECT_EQ(time.year, c.year) << c.time;
    EXPECT_EQ(time.month, c.month) << c.time;
    EXPECT_EQ(time.day, c.day) << c.time;
    EXPECT_EQ(time.hour, c.hour) << c.time;
    EXPECT_EQ(time.minute, c.minute) << c.time;
  }
}

TEST(ChartPictureParts, TimeLabelsAtRoundTimesAndTheDateWhereTheDayChanges) {
  Chart chart;
  for (int hour = 0; hour < 48; ++hour) {
    chart.appendBar(Bar{kMonday2026_03_02 + hour * 3600LL * 1000000LL, 1, 1, 1, 1, 1});
  }
  PictureLayout layout;
  layout.width_px = 1300;
  layout.height_px = 500;
  layout.plot = {0, 30, 1200, 470};
  layout.shownBars = 48;
  layout.barSpacing_px = 24.0;
  layout.newestBarX = 1180.0;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  cairo_t* cr = cairo_create(surface);
  std::vector<std::string> texts;
  for (const TimeTick& tick : chooseTimeTicks(cr, chart, layout)) texts.push_back(tick.text);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  const std::vector<std::string> expected = {"Mar 2", "04:00", "08:00", "12:00", "16:00", "20:00",
                                             "Mar 3", "04:00", "08:00", "12:00", "16:00", "20:00"};
  EXPECT_EQ(texts, expected);
}

TEST(ChartPictureParts, TextCairoWouldRefuseIsShownWithQuestionMarks) {
  const struct {
    const char* text;
    const char* drawable;
  } cases[] = {{"MCV: 5825.00", "MCV: 5825.00"},
               {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},
               {"caf\xe9", "caf?"},
               {"\xe2\x82", "??"},
               {"\xed\xa0\x80", "???"},
               {"\xc0\xaf", "??"},
               {"a\nb\x7f", "a?b?"},
               {"\xf4\x90\x80\x80", "????"}};
  for (const auto& c : cases) EXPECT_EQ(drawableText(c.text), c.drawable) << c.text;
}

class ChartPictureCanvas : public testing::Test {
 protected:
  ChartPictureCanvas()
      : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 40)),
        cr(cairo_create(surface)) {}
  ~ChartPictureCanvas() override { cairo_destroy(cr); }
  HostColor pixel(int32_t x, int32_t y) {
    cairo_surface_flush(surface);
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    const uint32_t value = reinterpret_cast<const uint32_t*>(row)[x];
    return rgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  }
  cairo_surface_t* surface;
  cairo_t* cr;
  CairoCanvas canvas{cr};
  PngPixels owner{surface};  // releases the surface
};

TEST_F(ChartPictureCanvas, RectanglesCoverWholePixelsUpToTheirRightAndBottomEdges) {
  constexpr HostColor kRed = rgb(255, 0, 0);
  canvas.fillRectangle(HostRect{10, 5, 20, 8}, kRed);
  canvas.fillRectangle(HostRect{30, 5, 25, 8}, kRed);  // right of left: nothing
  for (const auto& [x, y] : {std::pair{10, 5}, {19, 7}, {15, 6}}) {
    EXPECT_EQ(pixel(x, y), kRed) << x << "," << y;
  }
  for (const auto& [x, y] : {std::pair{9, 5}, {20, 5}, {10, 4}, {10, 8}, {27, 6}}) {
    EXPECT_EQ(pixel(x, y), rgb(0, 0, 0)) << x << "," << y;
  }
  // Saturated pixels from the host cover the picture without harm.
  canvas.fillRectangle(HostRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, rgb(0, 0, 255));
  EXPECT_EQ(pixel(0, 0), rgb(0, 0, 255));
  EXPECT_EQ(pixel(39, 39), rgb(0, 0, 255));
}

TEST_F(ChartPictureCanvas, PolygonsTakeTheBrushAndEllipsesTheirOwnFill) {
  const HostPoint square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  canvas.selectBrush(HostFillRecord{1, static_cast<int32_t>(rgb(0, 255, 0)), 0, 0});
  canvas.drawPolygon(square, 4);
  EXPECT_EQ(pixel(7, 7), rgb(0, 255, 0));
  canvas.resetGraphicsState(3);  // back to the default brush
  const HostPoint other[] = {{20, 2}, {30, 2}, {30, 12}, {20, 12}};
  canvas.drawPolygon(other, 4);
  EXPECT_EQ(pixel(25, 7), rgb(255, 255, 255));
  canvas.drawEllipse(HostRect{10, 20, 30, 40},
                     HostFillRecord{1, static_cast<int32_t>(rgb(255, 0, 255)), 0, 0});
  EXPECT_EQ(pixel(20, 30), rgb(255, 0, 255));
  EXPECT_EQ(pixel(11, 21), rgb(0, 0, 0));
  canvas.drawPolygon(square, 2);  // too few corners: nothing
  canvas.drawPolygon(nullptr, 4);
}

}  // namespace
