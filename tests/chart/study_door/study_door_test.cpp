// The chart program's door into the study: which level each of the study's
// lines stands for (the names the user gave the labels, the level's own name
// for a blank label, the gamma levels on the keys the GEX levels used, levels
// without a line left out), the ticker and target it sends, the lines of its
// futures conversion, its requests and its time-zone table.
#include "tools/chart/study_door/study_door.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "render/major_levels.h"
#include "service/service_endpoint.h"
#include "study/time_zone_table.h"
#include "support/chart_profile_fixture.h"
#include "support/study_fixture.h"

using namespace chart_tool;

namespace {

class DrawnLevels : public ChartProfileFixture {
 protected:
  void drawLevels() {
    int32_t nextDrawingKey = 0;
    study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      drawMajorLevels(sc, nextDrawingKey, 0, *gex, *greek, 0.0f, 1.0f);
    });
  }
  void setLabel(int32_t place, const char* text) {
    assignHostString(study.instance.input(kZeroGammaLabelInput + place).textValue, text);
  }
  std::vector<std::pair<std::string, float>> namesAndPrices() {
    std::vector<std::pair<std::string, float>> levels;
    for (const study_door::DrawnLevel& level : study_door::drawnLevels(study.instance)) {
      EXPECT_NE(study.chart.drawings().find(level.lineNumber), nullptr) << level.name;
      levels.emplace_back(level.name, level.price);
    }
    return levels;
  }
  using Levels = std::vector<std::pair<std::string, float>>;
};

TEST_F(DrawnLevels, NameEachGexLineByItsLabelInputInTheOrderTheStudyKeepsThem) {
  EXPECT_TRUE(study_door::drawnLevels(study.instance).empty());
  loadGex(gexResponse("[]"));
  setLabel(0, "Flip");  // zero gamma
  setLabel(3, "  ");    // call OI: blank, so the level's own name
  setValue(kShowZeroGammaInput + 4, 0);  // put OI hidden: no line
  drawLevels();
  EXPECT_EQ(namesAndPrices(), (Levels{{"MCV", 5850}, {"MPV", 5750}, {"Flip", 5790.5f}, {"Major Call OI", 5900}}));
}

TEST_F(DrawnLevels, NameTheGammaLinesOnTheKeysTheGexLinesUsed) {
  loadGex(gexResponse("[]"));
  loadGreek(greekResponse("[]"));
  drawLevels();
  setValue(kGreekInput, 3);  // 0dte gamma
  drawLevels();
  EXPECT_EQ(namesAndPrices(), (Levels{{"MLG", 5880}, {"MSG", 5720}}));
  setValue(kGreekInput, 5);  // delta draws no lines of its own
  EXPECT_TRUE(study_door::drawnLevels(study.instance).empty());
}

TEST(StudyDoor, ReadsTheTickerFromTheStudysRequestUrls) {
  const std::string profile = std::string(tarvio::kServiceBaseUrl) + "/";
  const std::string history = std::string(tarvio::kHistoryBaseUrl) + "/";
  const struct {
    const std::string& base;
    const char* path;
    const char* ticker;
  } cases[] = {
      {profile, "ES_SPX/classic/full", "ES_SPX"},
      {profile, "SPX/state/gamma", "SPX"},
      {history, "NQ_NDX/classic/gex_full/majors/7", "NQ_NDX"},
      {profile, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(study_door::tickerOfRequestUrl(c.base + c.path), c.ticker) << c.path;
  EXPECT_EQ(study_door::tickerOfRequestUrl("https://elsewhere.example/v2/sierra/SPX/classic/full"), "");
  EXPECT_EQ(study_door::tickerOfRequestUrl(""), "");
}

// Every message of the study's futures conversion is known as one (its
// service's error among them), and only the line of a conversion taken names
// a contract.
TEST(StudyDoor, KnowsTheLinesOfTheStudysFuturesConversion) {
  const struct {
    const char* line;
    bool conversion;
    const char* contract;
  } cases[] = {
      {"Tarvio Futures Conversion: -> ESZ6  x1.0000  +7.38", true, "ESZ6"},
      {"Tarvio Futures Conversion: -> NQH7", true, "NQH7"},
      {"Tarvio Futures Conversion: sending request (ticker=SPX -> future=ES)...", true, ""},
      {"Tarvio Futures Conversion: HTTP 401: refused", true, ""},
      {"Tarvio Futures Conversion API Error: \"Invalid API Key.\".", true, ""},
      {"Tarvio API Error: ERROR: Invalid API Key. Halting requests.", false, ""},
      {"Host: Tarvio Futures Conversion: -> ESZ6", false, ""},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(study_door::isFuturesConversionLine(c.line), c.conversion) << c.line;
    EXPECT_EQ(study_door::contractOfConversionLine(c.line), c.contract) << c.line;
  }
}

// A ticker seen in a request wins over the one the study keeps beside its
// target, which wins over the typed one; the conversion names the contract
// taken over the target kept, and there is none without a target.
TEST(StudyDoor, PrefersTheTickerAndContractSeenOverWhatTheStudyKeeps) {
  StudyFixture study;
  study.setText(kTickerInput, " ndx ");
  EXPECT_EQ(study_door::tickerSent(study.instance, ""), "NDX");
  EXPECT_FALSE(study_door::futuresConversion(study.instance, "NQH7").has_value());
  assignHostString(study.instance.store().stringValue(kLastConversionTickerKey), "SPX");
  assignHostString(study.instance.store().stringValue(kLastConversionFutureKey), "ES");
  EXPECT_EQ(study_door::tickerSent(study.instance, ""), "SPX");
  EXPECT_EQ(study_door::tickerSent(study.instance, "ES_SPX"), "ES_SPX");
  EXPECT_EQ(study_door::typedTicker(study.instance), "NDX");
  study.instance.input(kAdditivePremiumInput).floatValue = 7.5f;
  const auto kept = study_door::futuresConversion(study.instance, "");
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->contract, "ES");
  EXPECT_EQ(kept->additive, 7.5f);
  EXPECT_EQ(study_door::futuresConversion(study.instance, "ESZ6")->contract, "ESZ6");
}

TEST(StudyDoor, ReadsTheRequestsByTheStudysOwnRules) {
  StudyFixture study;
  EXPECT_EQ(study_door::requestInterval_s(study.instance), 5);
  EXPECT_EQ(study_door::requestStartTime(study.instance), atTimeOfDay(0, 9, 30));
  EXPECT_STREQ(study_door::requestZoneText(study.instance), tarvio::kNewYorkZoneText);
  EXPECT_TRUE(study_door::requestWindowOpen(study.instance, atTimeOfDay(kMonday2026_03_02, 10, 0)));
  EXPECT_FALSE(study_door::requestWindowOpen(study.instance, atTimeOfDay(kMonday2026_03_02, 9, 0)));
  EXPECT_FALSE(study_door::requestsHalted(study.instance));
  study.instance.store().intValue(kRequestsHaltedKey) = 1;
  EXPECT_TRUE(study_door::requestsHalted(study.instance));
  study.instance.input(kTimeZoneInput).intValue = tarvio::kUtcTimeZoneIndex;
  EXPECT_STREQ(study_door::requestZoneText(study.instance), tarvio::kUtcZoneText);
  EXPECT_EQ(study_door::elapsedMicroseconds(INT64_MIN + 1, 2), INT64_MIN);
}

TEST(StudyDoor, HandsOutTheStudysZoneTableAndNothingBeyondIt) {
  EXPECT_STREQ(study_door::zoneTextAt(tarvio::kNewYorkTimeZoneIndex), tarvio::kNewYorkZoneText);
  EXPECT_STREQ(study_door::zoneTextAt(-1), "");
  EXPECT_STREQ(study_door::zoneTextAt(study_door::kTimeZoneCount), "");
}

}  // namespace
