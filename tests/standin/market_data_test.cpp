// The synthetic market: price levels per ticker, smooth deterministic paths,
// and GEX and greek snapshots whose priors, majors and history agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/standin/gex_snapshot.h"
#include "tools/standin/greek_snapshot.h"
#include "tools/standin/market_model.h"
#include "tools/standin/option_chain.h"
#include "standin/market_time.h"

namespace standin {
namespace {

TEST(MarketModel, GivesEachTickerItsPriceLevelAndStrikeStep) {
  for (const char* spx : {"SPX", "ES_SPX", "es_spx"}) {
    const TickerTraits traits = tickerTraits(spx);
    EXPECT_EQ(traits.base_spot, 5800) << spx;
    EXPECT_EQ(traits.strike_step, 5) << spx;
  }
  for (const char* ndx : {"NDX", "NQ_NDX"}) {
    EXPECT_EQ(tickerTraits(ndx).base_spot, 20000) << ndx;
    EXPECT_EQ(tickerTraits(ndx).strike_step, 25) << ndx;
  }
  for (const char* other : {"SPY", "QQQ", "AAPL", "x"}) {
    const TickerTraits traits = tickerTraits(other);
    EXPECT_GE(traits.base_spot, 100) << other;
    EXPECT_LE(traits.base_spot, 500) << other;
    EXPECT_EQ(traits.base_spot, tickerTraits(other).base_spot) << other;
  }
  EXPECT_NE(tickerTraits("SPY").base_spot, tickerTraits("QQQ").base_spot);
}

TEST(MarketModel, MovesTheSpotSmoothlyAndDeterministically) {
  const MarketModel model(7);
  const TickerTraits spx = tickerTraits("SPX");
  double lowest = 1e9, highest = 0;
  for (int64_t t = kNow; t < kNow + 3 * 86400; t += 60) {
    const double spot = model.spot(spx, t);
    lowest = std::min(lowest, spot);
    highest = std::max(highest, spot);
    EXPECT_LT(std::fabs(model.spot(spx, t + 60) - spot) / spot, 0.002) << t;
  }
  EXPECT_GT(lowest, 5800 * 0.95);
  EXPECT_LT(highest, 5800 * 1.05);
  EXPECT_GT(highest - lowest, 20);  // it does move
  EXPECT_EQ(model.spot(spx, kNow), MarketModel(7).spot(spx, kNow));
  EXPECT_NE(model.spot(spx, kNow), MarketModel(8).spot(spx, kNow));
}

TEST(OptionChain, GammaPeaksAtTheMoneyAndDeltaRisesWithTheSpot) {
  const double at_money = blackScholesGamma(5800, 5800, 0.15, 0.05);
  EXPECT_GT(at_money, blackScholesGamma(5800, 5600, 0.15, 0.05));
  EXPECT_GT(at_money, blackScholesGamma(5800, 6000, 0.15, 0.05));
  EXPECT_NEAR(blackScholesCallDelta(5800, 5800, 0.15, 0.05), 0.5, 0.02);
  EXPECT_GT(blackScholesCallDelta(6200, 5800, 0.15, 0.05), 0.95);
  const std::vector<double> grid = strikeGrid(tickerTraits("NDX"), 20010, 3);
  EXPECT_EQ(grid, (std::vector<double>{19925, 19950, 19975, 20000, 20025, 20050, 20075}));
}

class GexSnapshotTest : public testing::Test {
 protected:
  MarketModel model{3};
  GexSnapshot snapshot = gexSnapshot(model, "ES_SPX", ChainExpiry::All, kNow);
};

TEST_F(GexSnapshotTest, HasAHundredAndOneStrikesAroundTheSpot) {
  EXPECT_EQ(snapshot.ticker, "ES_SPX");
  EXPECT_EQ(snapshot.timestamp, kNow);
  ASSERT_EQ(snapshot.rows.size(), 2u * kHalfStrikeCount + 1);
  for (size_t i = 1; i < snapshot.rows.size(); ++i) {
    EXPECT_EQ(snapshot.rows[i].strike - snapshot.rows[i - 1].strike, 5);
  }
  EXPECT_LT(snapshot.rows.front().strike, snapshot.spot);
  EXPECT_GT(snapshot.rows.back().strike, snapshot.spot);
}

TEST_F(GexSnapshotTest, PriorsAreTheVolumeValuesOfEarlierSnapshots) {
  for (size_t p = 0; p < kGexPriorMinutes.size(); ++p) {
    const GexSnapshot earlier = gexSnapshot(model, "ES_SPX", ChainExpiry::All, kNow - 60 * kGexPriorMinutes[p]);
    int compared = 0;
    for (const GexRow& row : snapshot.rows) {
      for (const GexRow& then : earlier.rows) {
        if (then.strike == row.strike) {
          EXPECT_DOUBLE_EQ(row.priors[p], then.gex_vol) << row.strike << " " << kGexPriorMinutes[p];
          ++compared;
        }
      }
    }
    EXPECT_GT(compared, 80);
  }
}

TEST_F(GexSnapshotTest, MajorsSumsAndLargestChangesFollowTheRows) {
  const auto by_volume = [](const GexRow& a, const GexRow& b) { return a.gex_vol < b.gex_vol; };
  const auto by_oi = [](const GexRow& a, const GexRow& b) { return a.gex_oi < b.gex_oi; };
  EXPECT_EQ(snapshot.major_pos_vol, std::max_element(snapshot.rows.begin(), snapshot.rows.end(), by_volume)->strike);
  EXPECT_EQ(snapshot.major_neg_vol, std::min_element(snapshot.rows.begin(), snapshot.rows.end(), by_volume)->strike);
  EXPECT_EQ(snapshot.major_pos_oi, std::max_element(snapshot.rows.begin(), snapshot.rows.end(), by_oi)->strike);
  EXPECT_EQ(snapshot.major_neg_oi, std::min_element(snapshot.rows.begin(), snapshot.rows.end(), by_oi)->strike);
  double volume = 0, open_interest = 0;
  for (const GexRow& row : snapshot.rows) volume += row.gex_vol, open_interest += row.gex_oi;
  EXPECT_NEAR(snapshot.sum_gex_vol, volume, 1e-6 * std::fabs(volume));
  EXPECT_NEAR(snapshot.sum_gex_oi, open_interest, 1e-6 * std::fabs(open_interest));
  EXPECT_GT(snapshot.major_pos_oi, snapshot.major_neg_oi);  // calls above, puts below

  for (size_t p = 0; p < kGexPriorMinutes.size(); ++p) {
    double largest = 0;
    for (const GexRow& row : snapshot.rows) largest = std::max(largest, std::fabs(row.gex_vol - row.priors[p]));
    EXPECT_DOUBLE_EQ(std::fabs(snapshot.max_priors[p].second), largest);
  }
}

TEST_F(GexSnapshotTest, ZeroGammaIsWhereTheNetExposureChangesSign) {
  EXPECT_GT(snapshot.zero_gamma, snapshot.rows.front().strike);
  EXPECT_LT(snapshot.zero_gamma, snapshot.rows.back().strike);
  EXPECT_NEAR(snapshot.zero_gamma, snapshot.spot, 0.05 * snapshot.spot);
}

TEST_F(GexSnapshotTest, TheMajorsHistoryPointIsTheLiveSnapshotsMajors) {
  const MajorsPoint point = majorsPoint(model, tickerTraits("ES_SPX"), kNow);
  EXPECT_EQ(point.timestamp, kNow);
  EXPECT_EQ(point.major_call_gamma, snapshot.major_pos_vol);
  EXPECT_EQ(point.major_put_gamma, snapshot.major_neg_vol);
  EXPECT_EQ(point.zero_gamma, snapshot.zero_gamma);
}

TEST(GexSnapshot, ExpiryGroupsGiveDifferentProfiles) {
  const MarketModel model(0);
  const GexSnapshot all = gexSnapshot(model, "SPX", ChainExpiry::All, kNow);
  const GexSnapshot zero = gexSnapshot(model, "SPX", ChainExpiry::ZeroDay, kNow);
  const GexSnapshot one = gexSnapshot(model, "SPX", ChainExpiry::OneDay, kNow);
  EXPECT_NE(all.sum_gex_oi, zero.sum_gex_oi);
  EXPECT_NE(zero.sum_gex_oi, one.sum_gex_oi);
  EXPECT_EQ(all.spot, zero.spot);
}

TEST(GreekSnapshot, SplitsCallsAndPutsAndKeepsThreePriors) {
  const MarketModel model(0);
  for (const Greek greek : {Greek::Gamma, Greek::Delta}) {
    const GreekSnapshot snapshot = greekSnapshot(model, "NDX", greek, ChainExpiry::All, kNow);
    const GreekSnapshot earlier = greekSnapshot(model, "NDX", greek, ChainExpiry::All, kNow - 15 * 60);
    ASSERT_EQ(snapshot.rows.size(), 2u * kHalfStrikeCount + 1);
    EXPECT_EQ(snapshot.rows[1].strike - snapshot.rows[0].strike, 25);
    for (const GreekRow& row : snapshot.rows) {
      EXPECT_GE(row.call_value, 0);
      EXPECT_LE(row.put_value, 0);
      EXPECT_DOUBLE_EQ(row.greek_value, row.call_value + row.put_value);
      for (const GreekRow& then : earlier.rows) {
        if (then.strike == row.strike) {
          EXPECT_DOUBLE_EQ(row.priors[1], then.greek_value);
        }
      }
    }
    const auto by_value = [](const GreekRow& a, const GreekRow& b) { return a.greek_value < b.greek_value; };
    EXPECT_EQ(snapshot.major_positive,
              std::max_element(snapshot.rows.begin(), snapshot.rows.end(), by_value)->strike);
    EXPECT_EQ(snapshot.major_negative,
              std::min_element(snapshot.rows.begin(), snapshot.rows.end(), by_value)->strike);
  }
  const GreekSnapshot gamma = greekSnapshot(model, "NDX", Greek::Gamma, ChainExpiry::All, kNow);
  const GreekSnapshot delta = greekSnapshot(model, "NDX", Greek::Delta, ChainExpiry::All, kNow);
  EXPECT_EQ(gamma.major_long_gamma, delta.major_long_gamma);
  EXPECT_EQ(gamma.major_long_gamma, gamma.major_positive);
}

}  // namespace
}  // namespace standin
