// The study function's passes: configuration normalisation, the checks that
// halt requests, the profile URL, carry-forward and the end of an instance.
#include "study/study_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "service/service_endpoint.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"
#include "support/study_fixture.h"

using namespace tarvio;

namespace {

struct SymbolCase {
  const char* typed;  // null: an input holding no text
  const char* ticker;
  const char* futuresTarget;
};

TEST(StudyFunctionTest, NormalisesTickerAndFuturesTarget) {
  const SymbolCase cases[] = {
      {" es_spx\t", "ES_SPX", "ES_SPX"},
      {"   ", "SPX", ""},
      {nullptr, "UNSET", ""},  // a target left without text disables the conversion
      {"nq ndx", "NQ NDX", "NQ NDX"},
      {"\r\n spy \n", "SPY", "SPY"},
      {"\vqqq", "\vQQQ", "\vQQQ"},  // only blank, tab, line feed and carriage return are stripped
  };
  for (const SymbolCase& c : cases) {
    StudyFixture fixture;
    fixture.setText(kTickerInput, c.typed);
    fixture.setText(kFuturesTargetInput, c.typed);
    OrdinaryCallValues values = fixture.prepare();
    EXPECT_STREQ(hostStringText(values.ticker), c.ticker) << (c.typed ? c.typed : "(no text)");
    EXPECT_STREQ(hostStringText(values.futuresTarget), c.futuresTarget) << (c.typed ? c.typed : "(no text)");
  }
}

TEST(StudyFunctionTest, CorrectsAMultiplierThatIsNotPositive) {
  const float cases[] = {0.0f, -2.0f, NAN, -INFINITY};
  for (float typed : cases) {
    StudyFixture fixture;
    fixture.instance.input(kMultiplicativePremiumInput).floatValue = typed;
    fixture.instance.input(kAdditivePremiumInput).floatValue = 12.5f;
    OrdinaryCallValues values = fixture.prepare();
    EXPECT_EQ(values.multiplicativePremium, 1.0f) << typed;
    EXPECT_EQ(fixture.instance.input(kMultiplicativePremiumInput).floatValue, 1.0f) << typed;
    EXPECT_EQ(values.additivePremium, 12.5f);
  }
  StudyFixture fixture;
  fixture.instance.input(kMultiplicativePremiumInput).floatValue = 1.25f;
  OrdinaryCallValues values = fixture.prepare();
  EXPECT_EQ(values.multiplicativePremium, 1.25f);
}

struct UrlCase {
  int32_t package;
  int32_t greek;
  const char* path;
  int32_t isGreek;
};

TEST(StudyFunctionTest, BuildsTheProfileUrlFromPackageAndKind) {
  const UrlCase cases[] = {
      {0, 0, "/ES_SPX/classic/full", 0},   {0, 1, "/ES_SPX/classic/zero", 0},
      {0, 2, "/ES_SPX/classic/one", 0},    {1, 3, "/ES_SPX/state/gamma", 1},
      {1, 4, "/ES_SPX/state/gamma_one", 1}, {1, 5, "/ES_SPX/state/delta", 1},
      {1, 6, "/ES_SPX/state/delta_one", 1}, {1, 7, "/ES_SPX/state/full", 0},
      {1, -1, "/ES_SPX/state/full", 0},    {5, 0, "/ES_SPX/classic/full", 0},
  };
  for (const UrlCase& c : cases) {
    StudyFixture fixture;
    fixture.instance.input(kPackageInput).intValue = c.package;
    fixture.instance.input(kGreekInput).intValue = c.greek;
    OrdinaryCallValues values = fixture.prepare();
    EXPECT_EQ(std::string(hostStringText(values.requestUrl)), std::string(kServiceBaseUrl) + c.path);
    EXPECT_EQ(values.isGreekProfile, c.isGreek) << c.path;
    EXPECT_EQ(values.nextDrawingKey, kFirstDrawingKey);
  }
}

TEST(StudyFunctionTest, HandsOverTheKeyAsTypedAndTheInterval) {
  StudyFixture fixture;
  OrdinaryCallValues values = fixture.prepare();
  EXPECT_STREQ(hostStringText(values.apiKey), "<API KEY HERE>");
  EXPECT_EQ(values.requestIntervalSeconds, 5);
  EXPECT_TRUE(values.inRequestWindow);  // 10:00 New York

  fixture.setText(kApiKeyInput, " Key with Blanks ");
  fixture.instance.input(kRequestIntervalInput).intValue = 30;
  values = fixture.prepare();
  EXPECT_STREQ(hostStringText(values.apiKey), " Key with Blanks ");
  EXPECT_EQ(values.requestIntervalSeconds, 30);
}

TEST(StudyFunctionTest, JudgesTheRequestWindowInTheSelectedZone) {
  StudyFixture fixture;  // chart in New York time, window 09:30 to 23:00 New York
  OrdinaryCallValues values = fixture.prepare(false, atTimeOfDay(kMonday2026_03_02, 9, 29, 59));
  EXPECT_FALSE(values.inRequestWindow);
  fixture.instance.input(kTimeZoneInput).intValue = 9;  // UTC: 09:29:59 New York is 14:29:59
  values = fixture.prepare(false, atTimeOfDay(kMonday2026_03_02, 9, 29, 59));
  EXPECT_TRUE(values.inRequestWindow);
  values = fixture.prepare(false, atTimeOfDay(kMonday2026_03_02, 18, 0, 1));  // 23:00:01 UTC
  EXPECT_FALSE(values.inRequestWindow);
}

struct CheckCase {
  int32_t package;
  int32_t greek;
  int32_t display;
  const char* message;  // null: no conflict
};

TEST(StudyFunctionTest, ConfigurationConflictsAreReportedOnceAndHaltUntilRecalculation) {
  const char* stateMessage = "No State GEX OI Data, halting requests. Choose GEX Volume or Gamma/Delta";
  const char* classicMessage = "Tarvio: Gamma/Delta requires the State package. Change Package to 'State'.";
  const CheckCase cases[] = {
      {1, 0, 2, stateMessage}, {1, 1, 1, stateMessage}, {1, 0, 0, nullptr}, {1, 2, 2, nullptr},
      {0, 6, 0, classicMessage}, {0, 3, 2, classicMessage}, {0, 2, 2, nullptr}, {1, 5, 0, nullptr},
  };
  for (const CheckCase& c : cases) {
    StudyFixture fixture;
    fixture.instance.input(kPackageInput).intValue = c.package;
    fixture.instance.input(kGreekInput).intValue = c.greek;
    fixture.instance.input(kGexDisplayInput).intValue = c.display;
    fixture.call(true);
    fixture.call();
    fixture.call();
    const auto& lines = fixture.instance.log().lines();
    const int32_t halted = fixture.instance.store().intValue(kRequestsHaltedKey);
    if (c.message == nullptr) {
      EXPECT_TRUE(lines.empty()) << c.package << "/" << c.greek << "/" << c.display;
      EXPECT_EQ(halted, 0);
      continue;
    }
    ASSERT_EQ(lines.size(), 1u) << c.message;
    EXPECT_EQ(lines[0].text, c.message);
    EXPECT_TRUE(lines[0].alert);
    EXPECT_EQ(halted, 1);
    // A full recalculation lifts the halt; the conflict, still there, is reported again.
    fixture.call(true);
    EXPECT_EQ(fixture.instance.log().lines().size(), 2u);
    // Once corrected, a recalculation resumes requests.
    fixture.instance.input(kPackageInput).intValue = 1;
    fixture.instance.input(kGreekInput).intValue = 5;
    fixture.call(true);
    EXPECT_EQ(fixture.instance.store().intValue(kRequestsHaltedKey), 0);
    EXPECT_EQ(fixture.instance.log().lines().size(), 2u);
  }
}

TEST(StudyFunctionTest, FullRecalculationMakesARequestDue) {
  StudyFixture fixture;
  PersistentStore& store = fixture.instance.store();
  store.intValue(kRequestStateKey) = kRequestWaiting;
  store.intValue(kDayResetArmedKey) = 1;
  fixture.call();
  EXPECT_EQ(store.intValue(kRequestStateKey), kRequestWaiting);
  fixture.call(true);
  EXPECT_EQ(store.intValue(kRequestStateKey), kRequestDue);
  EXPECT_EQ(store.intValue(kDayResetArmedKey), 0);
}

struct CarryCase {
  const char* name;
  int bars;
  float previous;
  float last;
  bool copied;
};

TEST(StudyFunctionTest, CarriesOutputsForwardToANewBar) {
  const CarryCase cases[] = {
      {"new bar after a value", 3, 5010.0f, 0.0f, true},
      {"newest already has a value", 3, 5010.0f, 4990.0f, false},
      {"previous bar empty", 3, 0.0f, 0.0f, false},
      {"previous bar negative", 3, -1.0f, 0.0f, false},
      {"newest is not a number", 3, 5010.0f, NAN, false},
      {"one bar", 1, 5010.0f, 0.0f, false},
  };
  for (const CarryCase& c : cases) {
    StudyFixture fixture(c.bars);
    fixture.call();  // sizes the output arrays to the bars
    const int last = c.bars - 1;
    const int previous = c.bars >= 2 ? c.bars - 2 : 0;
    for (int series = 0; series < kSubgraphCount; ++series) {
      HostSubgraph& subgraph = fixture.instance.subgraph(series);
      subgraph.values[previous] = series == 0 ? c.previous : 100.0f + static_cast<float>(series);
      if (last != previous) subgraph.values[last] = series == 0 ? c.last : 0.0f;
    }
    fixture.call();
    for (int series = 0; series < kSubgraphCount; ++series) {
      const float expected = c.copied ? (series == 0 ? c.previous : 100.0f + static_cast<float>(series))
                                      : (series == 0 ? (c.bars == 1 ? c.previous : c.last) : 0.0f);
      const float actual = fixture.instance.subgraph(series).values[last];
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << c.name;
      } else if (c.bars > 1 || series == 0) {
        EXPECT_EQ(actual, expected) << c.name << " series " << series;
      }
    }
    // Series beyond the study's 19 are never touched.
    EXPECT_EQ(fixture.instance.subgraph(kSubgraphCount).values[last], 0.0f) << c.name;
  }
}

HostDrawingRecord lineAt(float price, int32_t kind) {
  HostDrawingRecord record = makeHostDrawingRecord();
  record.price = price;
  record.drawingKind = kind;
  return record;
}

TEST(StudyFunctionTest, SweepRemovesLeftoverTextDrawingsAndKeptLines) {
  StudyFixture fixture;
  ChartDrawings& drawings = fixture.chart.drawings();
  // Leftovers of kinds 12 and 39 in front, the study's kept line, a user's line.
  HostDrawingRecord leftoverText = lineAt(1, 12);
  HostDrawingRecord leftoverMarker = lineAt(2, 39);
  HostDrawingRecord kept = lineAt(3, kDrawingKindHorizontalLine);
  HostDrawingRecord users = lineAt(4, kDrawingKindHorizontalLine);
  drawings.add(leftoverText, 99);
  drawings.add(leftoverMarker, 99);
  drawings.add(kept, 1);
  drawings.add(users, 0);
  PersistentStore& store = fixture.instance.store();
  store.intValue(kFirstDrawingKey + 1) = kept.lineNumber;
  store.intValue(kLastDrawingKeyKey) = kFirstDrawingKey + 1;

  fixture.call(true);

  ASSERT_EQ(drawings.all().size(), 1u);
  EXPECT_EQ(drawings.all()[0].record.lineNumber, users.lineNumber);
  EXPECT_EQ(store.intValue(kFirstDrawingKey + 1), 0);
  EXPECT_EQ(store.intValue(kLastDrawingKeyKey), 0);
}

TEST(StudyFunctionTest, SweepStopsAfterItsLookUpBound) {
  // A first drawing the sweep must not delete is looked at again and again;
  // the sweep ends after its bound instead of spinning.
  StudyFixture fixture;
  HostDrawingRecord users = lineAt(4, kDrawingKindHorizontalLine);
  fixture.chart.drawings().add(users, 0);
  fixture.call(true);
  EXPECT_EQ(fixture.chart.drawings().all().size(), 1u);
}

TEST(StudyFunctionTest, LastCallRemovesDrawingsAndReleasesProfiles) {
  for (bool beingRemoved : {false, true}) {
    StudyFixture fixture;
    fixture.call(true);  // the first call makes both snapshots
    PersistentStore& store = fixture.instance.store();
    ASSERT_EQ(store.countLivePointers(), 2);
    store.intValue(kProfileReadyKey) = 1;
    HostDrawingRecord studyLine = lineAt(5000, kDrawingKindHorizontalLine);
    HostDrawingRecord usersLine = lineAt(5001, kDrawingKindHorizontalLine);
    fixture.chart.drawings().add(studyLine, fixture.instance.studyId());
    fixture.chart.drawings().add(usersLine, 0);
    store.intValue(kFirstDrawingKey) = studyLine.lineNumber;
    store.intValue(kLastDrawingKeyKey) = kFirstDrawingKey;

    fixture.instance.runLastCall(beingRemoved);

    EXPECT_EQ(store.countLivePointers(), 0);
    EXPECT_EQ(store.intValue(kProfileReadyKey), 0);
    EXPECT_EQ(store.intValue(kFirstDrawingKey), 0);
    EXPECT_EQ(store.intValue(kLastDrawingKeyKey), 0);
    ASSERT_EQ(fixture.chart.drawings().all().size(), 1u);
    EXPECT_EQ(fixture.chart.drawings().all()[0].record.lineNumber, usersLine.lineNumber);
    EXPECT_TRUE(fixture.instance.ended());
  }
}

TEST(StudyFunctionTest, SetDefaultsPassNamesTheStudyAndDoesNothingElse) {
  StudyFixture fixture;
  HostStudyInterface& sc = fixture.instance.record();
  EXPECT_EQ(fixture.instance.studyName(), "Gex Profile");
  EXPECT_EQ(sc.graphRegion, 0);
  EXPECT_EQ(sc.loopPerBar, 0);
  EXPECT_EQ(sc.updateEveryTick, 1);
  EXPECT_EQ(sc.graphicsCallback, nullptr);
  EXPECT_TRUE(fixture.instance.log().lines().empty());
  EXPECT_EQ(fixture.instance.store().intValue(kRequestStateKey), 0);
}

}  // namespace
