// The module's own readers accept the stand-in's answers: profiles parse,
// refusals halt, error answers retry, the history and the conversion are read.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "service/futures_conversion.h"
#include "service/majors_history.h"
#include "study/study_inputs.h"
#include "support/profile_parse_harness.h"
#include "tools/standin/fault_plan.h"
#include "tools/standin/futures_quote.h"
#include "tools/standin/gex_snapshot.h"
#include "tools/standin/greek_snapshot.h"
#include "tools/standin/majors_history.h"
#include "tools/standin/profile_json.h"
#include "tools/standin/request_router.h"
#include "standin/market_time.h"

using namespace tarvio;

namespace standin {
namespace {

TEST(ModuleReadsAnswers, GexProfilesParseWithFivePriorsPerRow) {
  const MarketModel model(11);
  for (const char* ticker : {"ES_SPX", "NDX", "SPY"}) {
    for (const ChainExpiry expiry : {ChainExpiry::All, ChainExpiry::ZeroDay, ChainExpiry::OneDay}) {
      const GexSnapshot snapshot = gexSnapshot(model, ticker, expiry, kNow);
      ProfileParseHarness harness;
      GexProfile profile;
      ASSERT_EQ(harness.parse(gexProfileJson(snapshot), &profile), ReadOutcome::Parsed) << ticker;
      EXPECT_STREQ(hostStringText(profile.ticker), ticker);
      EXPECT_EQ(profile.timestamp, kNow);
      EXPECT_EQ(profile.strikes.size(), snapshot.rows.size());
      EXPECT_EQ(profile.priors.size(), 5 * snapshot.rows.size());
      EXPECT_EQ(profile.max_priors.size(), 5u);
      EXPECT_NEAR(profile.zero_gamma, snapshot.zero_gamma, 0.01);
      EXPECT_EQ(profile.major_pos_vol, static_cast<float>(snapshot.major_pos_vol));
      EXPECT_GT(profile.max_abs_gex, 1.0f);
      EXPECT_TRUE(harness.log().empty());
    }
  }
}

TEST(ModuleReadsAnswers, GreekProfilesParseWithThreePriorsPerRow) {
  const MarketModel model(11);
  for (const Greek greek : {Greek::Gamma, Greek::Delta}) {
    const GreekSnapshot snapshot = greekSnapshot(model, "ES_SPX", greek, ChainExpiry::OneDay, kNow);
    ProfileParseHarness harness;
    GreekProfile profile;
    ASSERT_EQ(harness.parse(greekProfileJson(snapshot), &profile), ReadOutcome::Parsed);
    EXPECT_EQ(profile.strikes.size(), snapshot.rows.size());
    EXPECT_EQ(profile.priors.size(), 3 * snapshot.rows.size());
    EXPECT_EQ(profile.major_long_gamma, static_cast<float>(snapshot.major_long_gamma));
    EXPECT_TRUE(harness.log().empty());
  }
}

// The gamma majors as the module reads them sit on the longest bars it draws,
// long above short, for each ticker, time and expiry.
TEST(ModuleReadsAnswers, GammaMajorsSitOnTheLongestBars) {
  const MarketModel model(0);
  for (const std::string ticker : {"ES_SPX", "NDX", "SPY"}) {
    for (const int64_t now : {kNow, kNow + 47 * 60, kNow + 4 * 3600 + 13 * 60}) {
      for (const ChainExpiry expiry : {ChainExpiry::ZeroDay, ChainExpiry::OneDay}) {
        ProfileParseHarness harness;
        GreekProfile gamma;
        ASSERT_EQ(harness.parse(greekProfileJson(greekSnapshot(model, ticker, Greek::Gamma, expiry, now)), &gamma),
                  ReadOutcome::Parsed);
        const std::vector<float>& values = gamma.greek_value;
        const auto at = [&](auto found) { return gamma.strikes[found - values.begin()]; };
        EXPECT_EQ(gamma.major_long_gamma, at(std::max_element(values.begin(), values.end()))) << ticker << now;
        EXPECT_EQ(gamma.major_short_gamma, at(std::min_element(values.begin(), values.end()))) << ticker << now;
        EXPECT_GT(gamma.major_long_gamma, gamma.major_short_gamma) << ticker << now;
      }
    }
  }
}

TEST(ModuleReadsAnswers, RefusalsHaltAndFaultsRetry) {
  struct Case {
    std::string body;
    ReadOutcome outcome;
  };
  const Case cases[] = {
      {refusal(Endpoint::Profile).body, ReadOutcome::Halt},
      {faultReply(FaultMode::Error, Endpoint::Profile, {}, 0).body, ReadOutcome::Retry},
      {faultReply(FaultMode::Empty, Endpoint::Profile, {}, 0).body, ReadOutcome::Retry},
      {faultReply(FaultMode::Malformed, Endpoint::Profile, {}, 0).body, ReadOutcome::Retry},
      {faultReply(FaultMode::Nested, Endpoint::Profile, {}, 0).body, ReadOutcome::Retry},
  };
  for (const Case& c : cases) {
    ProfileParseHarness harness;
    GexProfile profile;
    EXPECT_EQ(harness.parse(c.body, &profile), c.outcome) << c.body.substr(0, 60);
  }
}

TEST(ModuleReadsAnswers, TheHistoryIsReadWithoutComplaint) {
  const HistoryAnswer answer = majorsHistoryAnswer(MarketModel(0), "SPX", {kNow - 600, kNow}, kNow);
  StudyFixture fixture;
  ReadOutcome result = ReadOutcome::Halt;
  fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
    result = readMajorsHistory(sc, answer.body.c_str(), 0.0f, 1.0f);
  });
  EXPECT_EQ(result, ReadOutcome::Parsed);
  EXPECT_TRUE(fixture.instance_log().lines().empty());
}

TEST(ModuleReadsAnswers, TheConversionRewritesThePremiums) {
  const FuturesQuote quote = std::get<FuturesQuote>(futuresQuote(MarketModel(0), "es_spx", "ES", "additive", kNow));
  StudyFixture fixture;
  fixture.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
    parseFuturesConversion(sc, futuresQuoteJson(quote).c_str(), "ES");
  });
  EXPECT_EQ(fixture.instance.input(kMultiplicativePremiumInput).floatValue, 1.0f);
  EXPECT_EQ(fixture.instance.input(kAdditivePremiumInput).floatValue, static_cast<float>(quote.additive));
  ASSERT_EQ(fixture.instance_log().lines().size(), 1u);
  EXPECT_EQ(fixture.instance_log().lines()[0].text.rfind("Tarvio Futures Conversion: -> ESH6  x1.0000  +", 0), 0u);
}

}  // namespace
}  // namespace standin
