// The bars the stand-in writes for demo charts, and its clock that steps
// with every profile answer.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tools/standin/spot_bars.h"

namespace standin {
namespace {

TEST(SpotBars, FollowTheSpotMinuteByMinuteInUtc) {
  const MarketModel model(0);
  const int64_t from = 1772463600;  // 2026-03-02 15:00:00 UTC
  const std::string csv = spotBarsCsv(model, "ES_SPX", from - 30, from + 180).value();
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "datetime,open,high,low,close,volume");
  int bars = 0;
  while (std::getline(lines, line)) {
    double open = 0, high = 0, low = 0, close = 0, volume = 0;
    char time[32] = {};
    ASSERT_EQ(std::sscanf(line.c_str(), "%20[^,],%lf,%lf,%lf,%lf,%lf", time, &open, &high, &low, &close, &volume), 6)
        << line;
    EXPECT_EQ(std::string(time), "2026-03-02T15:0" + std::to_string(bars) + ":00Z");
    EXPECT_LE(low, std::min(open, close));
    EXPECT_GE(high, std::max(open, close));
    EXPECT_NEAR(open, model.spot(tickerTraits("ES_SPX"), from + 60 * bars), 0.125);
    ++bars;
  }
  EXPECT_EQ(bars, 3);  // whole minutes in the window only
  // A window reaching past 9999-12-31 23:59 UTC has no bar file.
  EXPECT_TRUE(spotBarsCsv(model, "ES_SPX", 253402300740, 253402300800));
  EXPECT_FALSE(spotBarsCsv(model, "ES_SPX", 253402300740, 253402300900));
}

}  // namespace
}  // namespace standin
