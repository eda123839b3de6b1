// The chart's price scale, bar look-up and time-zone conversions as the
// study reaches them through the host operations.
#include "host/chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace chart_host;

namespace {

constexpr HostDateTime kHour = 3600LL * 1000000LL;
// 2026-07-01 00:00 (daylight time in New York and London).
constexpr HostDateTime kJuly1 = 46204LL * kMicrosecondsPerDay;

TEST(ChartTest, MapsPricesLinearlyOntoThePlotArea) {
  Chart chart;
  chart.setPlotArea(PlotArea{0, 100, 800, 500});
  chart.setPriceRange(5000.0f, 5100.0f);
  struct Case {
    float price;
    int32_t y;
  } cases[] = {{5100.0f, 100}, {5000.0f, 500}, {5050.0f, 300}, {5075.0f, 200}, {5200.0f, -300}, {4900.0f, 900}};
  for (const Case& c : cases) {
    EXPECT_EQ(chart.priceToY(c.price), c.y) << c.price;
    EXPECT_NEAR(chart.yToPrice(c.y), c.price, 0.01f) << c.y;
  }
}

TEST(ChartTest, ExtremePricesLandOutsideThePlotAreaWithoutWrapping) {
  Chart chart;
  chart.setPlotArea(PlotArea{0, 0, 800, 600});
  chart.setPriceRange(100.0f, 101.0f);
  EXPECT_EQ(chart.priceToY(-3e38f), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(chart.priceToY(3e38f), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(chart.priceToY(NAN), std::numeric_limits<int32_t>::min());
  // An empty price range puts every price in the middle.
  chart.setPriceRange(100.0f, 100.0f);
  EXPECT_EQ(chart.priceToY(100.0f), 300);
}

TEST(ChartTest, FindsTheBarATimeFallsIn) {
  Chart chart;
  EXPECT_EQ(chart.dateTimeToBarIndex(kJuly1), 0);
  for (int i = 0; i < 4; ++i) chart.appendBar(Bar{kJuly1 + i * kHour, 1, 1, 1, 1, 1});
  struct Case {
    HostDateTime time;
    int32_t bar;
  } cases[] = {{kJuly1 - 1, 0}, {kJuly1, 0}, {kJuly1 + kHour - 1, 0}, {kJuly1 + kHour, 1},
               {kJuly1 + 3 * kHour + 5, 3}, {kJuly1 + 100 * kHour, 3}};
  for (const Case& c : cases) EXPECT_EQ(chart.dateTimeToBarIndex(c.time), c.bar) << c.time;
}

TEST(ChartTest, ConvertsBetweenItsOwnZoneAndAZoneText) {
  Chart chart;  // New York
  HostDateTime out = 0;
  ASSERT_TRUE(chart.convertToZone(kJuly1 + 10 * kHour, "UTC+00", out));
  EXPECT_EQ(out, kJuly1 + 14 * kHour);
  ASSERT_TRUE(chart.convertToZone(kJuly1 + 10 * kHour, "GMT+00BST+01,M3.5.0/01:00,M10.5.0/02:00", out));
  EXPECT_EQ(out, kJuly1 + 15 * kHour);
  ASSERT_TRUE(chart.convertFromZone(kJuly1 + 14 * kHour, "UTC+00", out));
  EXPECT_EQ(out, kJuly1 + 10 * kHour);
  // The empty text is the chart's own zone.
  ASSERT_TRUE(chart.convertToZone(kJuly1 + 10 * kHour, "", out));
  EXPECT_EQ(out, kJuly1 + 10 * kHour);
  // A text the host cannot read converts nothing.
  EXPECT_FALSE(chart.convertToZone(kJuly1, "not a zone", out));

  std::string error;
  EXPECT_FALSE(chart.setZone("XYZ+99", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(chart.zoneText(), kDefaultChartZoneText);
  ASSERT_TRUE(chart.setZone("UTC+00"));
  ASSERT_TRUE(chart.convertToZone(kJuly1 + 10 * kHour, "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00", out));
  EXPECT_EQ(out, kJuly1 + 6 * kHour);
}

}  // namespace
