// The request driver through the chart host with a scripted transport: which
// request goes out on which call, how delivered answers are dispatched, and
// the halts, failures and windows around them.
#include "service/request_driver.h"

#include <gtest/gtest.h>

#include <string>

#include "data/gex_profile.h"
#include "support/chart_profile_fixture.h"
#include "support/driver_fixture.h"

using namespace tarvio;

namespace {

// 10:00 New York on the fixture's Monday is 15:00 UTC.
constexpr int64_t kTenOClockUnix = 1772463600;
const std::string kProfileBody = gexResponse("[[5800,100,50,[1,2,3,4,5]],[5810,-40,10,[]]]");

std::string historyBody() {
  return "[{\"timestamp\":" + std::to_string(kTenOClockUnix) +
         ",\"major_call_gamma\":5850,\"major_put_gamma\":5750,\"zero_gamma\":5790},"
         "{\"timestamp\":" +
         std::to_string(kTenOClockUnix + 120) +
         ",\"major_call_gamma\":5855,\"major_put_gamma\":5745,\"zero_gamma\":5795}]";
}

// A chart opened at 10:30 whose history has been answered and whose first
// profile request is outstanding.
void openAndAnswerHistory(DriverFixture& f) {
  f.callAt(mondayAt(10, 30), true);
  ASSERT_EQ(f.requests(), 1);
  ASSERT_TRUE(f.transport->answer(historyBody()));
  f.callAt(mondayAt(10, 30, 1));
  ASSERT_EQ(f.requests(), 2);
}

TEST(RequestDriverTest, FullCycleFromHistoryToDrawnLevels) {
  DriverFixture f;
  f.callAt(mondayAt(10, 30), true);
  ASSERT_EQ(f.requests(), 1);
  EXPECT_EQ(f.lastRequest().url,
            "https://api.tarvio.com/v2/sierra/hist/ES_SPX/classic/gex_full/majors/7");
  // 09:30 to 10:30 New York, in UTC seconds.
  EXPECT_EQ(f.lastRequest().body, "{\"start\": 1772461800, \"end\": 1772465400}");
  EXPECT_EQ(f.stored(kHistoryRequestStateKey), kHistoryWaiting);

  // The profile waits for the history; the history answer arrives on the
  // next call, and the profile request goes out on that same call.
  f.callAt(mondayAt(10, 30, 1));
  EXPECT_EQ(f.requests(), 1);
  ASSERT_TRUE(f.transport->answer(historyBody()));
  f.callAt(mondayAt(10, 30, 2));
  EXPECT_EQ(f.stored(kHistoryRequestStateKey), kHistoryDone);
  EXPECT_EQ(f.study.instance.subgraph(2).values[0], 5790.0f);
  EXPECT_EQ(f.study.instance.subgraph(0).values[2], 5855.0f);
  EXPECT_EQ(f.study.instance.record().earliestChangedBarIndex, 0);
  ASSERT_EQ(f.requests(), 2);
  EXPECT_EQ(f.lastRequest().url, "https://api.tarvio.com/v2/sierra/ES_SPX/classic/full");
  EXPECT_EQ(f.stored(kRequestStateKey), kRequestWaiting);

  ASSERT_TRUE(f.transport->answer(kProfileBody));
  f.callAt(mondayAt(10, 30, 3));
  EXPECT_EQ(f.stored(kRequestStateKey), kRequestHandled);
  EXPECT_EQ(f.stored(kProfileReadyKey), 1);
  const auto* gex = static_cast<GexProfile*>(f.study.instance.store().pointerValue(kGexProfileKey));
  ASSERT_NE(gex, nullptr);
  EXPECT_EQ(gex->strikes.size(), 2u);
  EXPECT_EQ(f.study.chart.drawings().all().size(), 5u);  // the five GEX levels
  const int32_t last = f.study.instance.record().barCount - 1;
  EXPECT_EQ(f.study.instance.subgraph(2).values[last], 5790.5f);  // zero gamma
  EXPECT_EQ(f.study.instance_log().lines().size(), 0u);
}

TEST(RequestDriverTest, HeadersGoOutInTheServiceOrder) {
  DriverFixture f;
  f.study.setText(kApiKeyInput, " k y ");  // sent exactly as typed
  openAndAnswerHistory(f);
  using Headers = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(f.transport->received()[0].headers,
            (Headers{{"Authorization", "Basic  k y "},
                     {"Accept", "application/json"},
                     {"Content-Type", "application/json"},
                     {"X-tarvio-plugin", "v2.2026.03.05"},
                     {"User-Agent", "Sierra Chart 2911 (Hist)"}}));
  EXPECT_EQ(f.lastRequest().headers, (Headers{{"User-Agent", "Sierra Chart 2911"},
                                              {"X-tarvio-plugin", "v2.2026.03.05"},
                                              {"Authorization", "Basic  k y "},
                                              {"Accept", "application/json"}}));
  EXPECT_EQ(f.lastRequest().body, "");
}

TEST(RequestDriverTest, HistoryAlwaysAsksForTheClassicGexProfile) {
  DriverFixture f;
  f.study.setText(kTickerInput, "ndx");
  f.study.instance.input(kPackageInput).intValue = 1;
  f.study.instance.input(kGreekInput).intValue = 5;
  f.callAt(mondayAt(10, 30), true);
  ASSERT_EQ(f.requests(), 1);
  EXPECT_EQ(f.lastRequest().url,
            "https://api.tarvio.com/v2/sierra/hist/NDX/classic/gex_full/majors/7");
}

struct HistoryWindowCase {
  const char* name;
  HostDateTime clock;
  bool sent;
  const char* body;
};

TEST(RequestDriverTest, HistoryCoversTheLatestSession) {
  const HistoryWindowCase cases[] = {
      {"weekday before the open", mondayAt(9, 29, 59), false, ""},
      {"weekday after the close", mondayAt(18, 0), true,
       "{\"start\": 1772461800, \"end\": 1772485200}"},
      // Friday 2026-02-27, 09:30 to 16:00 New York.
      {"saturday", mondayAt(12, 0) - 2 * kMicrosecondsPerDay, true,
       "{\"start\": 1772202600, \"end\": 1772226000}"},
      {"sunday", mondayAt(3, 0) - kMicrosecondsPerDay, true,
       "{\"start\": 1772202600, \"end\": 1772226000}"},
  };
  for (const HistoryWindowCase& c : cases) {
    DriverFixture f;
    f.study.instance.input(kRequestEndTimeInput).dateTimeValue = 0.0;  // keep the profile quiet
    f.callAt(c.clock, true);
    EXPECT_EQ(f.requests(), c.sent ? 1 : 0) << c.name;
    EXPECT_EQ(f.stored(kHistoryRequestStateKey), c.sent ? kHistoryWaiting : kHistoryDone) << c.name;
    if (c.sent && f.requests() == 1) {
      EXPECT_EQ(f.lastRequest().body, c.body) << c.name;
    }
  }
}

TEST(RequestDriverTest, HistoryIsAskedOncePerFullRecalculation) {
  DriverFixture f;
  openAndAnswerHistory(f);
  ASSERT_TRUE(f.transport->answer(kProfileBody));
  for (int second = 10; second < 60; second += 10) f.callAt(mondayAt(10, 31, second));
  int historyRequests = 0;
  for (const HttpRequest& request : f.transport->received()) {
    historyRequests += request.url.find("/hist/") != std::string::npos ? 1 : 0;
  }
  EXPECT_EQ(historyRequests, 1);
  // The recalculation supersedes the profile request still out: the history
  // goes out once its answer has come (and been dropped).
  f.callAt(mondayAt(10, 32), true);
  EXPECT_EQ(f.lastRequest().url.find("/hist/"), std::string::npos);
  ASSERT_TRUE(f.transport->answer(kProfileBody));
  f.callAt(mondayAt(10, 32, 1));
  EXPECT_NE(f.lastRequest().url.find("/hist/"), std::string::npos);
}

TEST(RequestDriverTest, RefusedRequestsAreReportedAndWaitForTheirOccasion) {
  DriverFixture f;
  f.transport->refuseNext(2);
  f.callAt(mondayAt(10, 30), true);
  EXPECT_EQ(f.alerted("Tarvio: Error sending Majors history request."), 1);
  EXPECT_EQ(f.stored(kHistoryRequestStateKey), kHistoryDone);
  // The history left nothing outstanding, so the profile goes out at once.
  EXPECT_EQ(f.alerted("Error making HTTP Request."), 1);
  EXPECT_EQ(f.stored(kRequestStateKey), kRequestRefused);
  f.callAt(mondayAt(10, 30, 4));
  EXPECT_EQ(f.requests(), 2);
  f.callAt(mondayAt(10, 30, 5));
  EXPECT_EQ(f.requests(), 3);
  EXPECT_EQ(f.stored(kRequestStateKey), kRequestWaiting);
}

struct IntervalCase {
  int interval;
  int secondsLater;
  bool sent;
};

TEST(RequestDriverTest, ProfileRequestsKeepTheirInterval) {
  const IntervalCase cases[] = {
      {5, 4, false}, {5, 5, true}, {0, 0, true}, {60, 59, false}, {-3, 0, true}};
  for (const IntervalCase& c : cases) {
    DriverFixture f;
    f.study.instance.input(kRequestIntervalInput).intValue = c.interval;
    openAndAnswerHistory(f);
    ASSERT_TRUE(f.transport->answer(kProfileBody));
    f.callAt(mondayAt(10, 30, 1));  // the answer is handled; the interval counts from the send
    const int before = f.requests();
    f.callAt(mondayAt(10, 30, 1 + c.secondsLater));
    EXPECT_EQ(f.requests() - before, c.sent ? 1 : 0)
        << c.interval << " s, " << c.secondsLater << " s later";
  }
}

TEST(RequestDriverTest, AtMostOneRequestIsOutstanding) {
  DriverFixture f;
  openAndAnswerHistory(f);
  for (int second = 10; second < 60; second += 10) f.callAt(mondayAt(10, 30, second));
  EXPECT_EQ(f.requests(), 2);
  EXPECT_EQ(f.transport->waiting(), 1);
}

TEST(RequestDriverTest, OutsideTheWindowNothingIsSentButAnswersAreRead) {
  DriverFixture f;
  openAndAnswerHistory(f);
  ASSERT_TRUE(f.transport->answer(kProfileBody));
  f.callAt(mondayAt(23, 30));
  EXPECT_EQ(f.stored(kProfileReadyKey), 1);
  f.callAt(mondayAt(23, 45));
  EXPECT_EQ(f.requests(), 2);
}

TEST(RequestDriverTest, AnswerArrivingAfterARecalculationResetIsIgnored) {
  DriverFixture f;
  openAndAnswerHistory(f);  // the profile request is outstanding
  f.stored(kRequestStateKey) = kRequestDue;
  ASSERT_TRUE(f.transport->answer(kProfileBody));
  f.callAt(mondayAt(10, 31));
  EXPECT_EQ(f.stored(kProfileReadyKey), 0);
  // The due request went out instead, and waits for its own answer.
  EXPECT_EQ(f.requests(), 3);
  EXPECT_EQ(f.stored(kRequestStateKey), kRequestWaiting);
}

// The user changes the ticker while the ES_SPX profile request is out. The
// old answer must not be drawn as the new ticker's levels, nor taken as the
// history answer; the new ticker's own answers are.
TEST(RequestDriverTest, AnswerToASupersededRequestIsDroppedAndTheNewOneIsTaken) {
  DriverFixture f;
  openAndAnswerHistory(f);  // the ES_SPX profile request is outstanding
  f.study.setText(kTickerInput, "NDX");
  f.callAt(mondayAt(10, 31), true);
  EXPECT_EQ(f.requests(), 2) << "nothing new while the superseded request is out";

  ASSERT_TRUE(f.transport->answer(gexResponse("[[5800,100,50,[1,2,3,4,5]]]", "5790.5")));
  f.callAt(mondayAt(10, 31, 1));
  EXPECT_EQ(f.logged("Tarvio: an answer to an earlier request was ignored."), 1);
  EXPECT_EQ(f.stored(kProfileReadyKey), 0);
  EXPECT_EQ(f.study.chart.drawings().all().size(), 0u);
  ASSERT_EQ(f.requests(), 3);
  EXPECT_EQ(f.lastRequest().url,
            "https://api.tarvio.com/v2/sierra/hist/NDX/classic/gex_full/majors/7");

  ASSERT_TRUE(f.transport->answer(historyBody()));
  f.callAt(mondayAt(10, 31, 2));
  EXPECT_EQ(f.study.instance.subgraph(2).values[0], 5790.0f) << "the history was read";
  ASSERT_EQ(f.requests(), 4);
  EXPECT_EQ(f.lastRequest().url, "https://api.tarvio.com/v2/sierra/NDX/classic/full");

  ASSERT_TRUE(f.transport->answer(gexResponse("[[20000,100,50,[1,2,3,4,5]]]", "20010")));
  f.callAt(mondayAt(10, 31, 3));
  const int32_t last = f.study.instance.record().barCount - 1;
  EXPECT_EQ(f.study.instance.subgraph(2).values[last], 20010.0f);
  EXPECT_EQ(f.study.chart.drawings().all().size(), 5u);
}

TEST(RequestDriverTest, ASupersededRequestNeverAnsweredHoldsRequestsBackForAMinuteAtMost) {
  DriverFixture f;
  openAndAnswerHistory(f);  // the profile request went out at 10:30:01
  f.callAt(mondayAt(10, 30, 30), true);
  f.callAt(mondayAt(10, 31, 0));
  EXPECT_EQ(f.requests(), 2);
  f.callAt(mondayAt(10, 31, 1));  // a minute after the superseded request went out
  EXPECT_EQ(f.requests(), 3);
  EXPECT_NE(f.lastRequest().url.find("/hist/"), std::string::npos);
}

// The chart's clock going back (the autumn clock change, a replay) must not
// stop requests until it passes the old time again.
TEST(RequestDriverTest, AClockThatGoesBackCountsAsDue) {
  DriverFixture f;
  f.study.setText(kFuturesTargetInput, "es");
  openAndAnswerHistory(f);
  ASSERT_TRUE(f.transport->answer(kProfileBody));
  f.callAt(mondayAt(10, 30, 2));
  const int requestsBefore = f.requests();
  const int conversionsBefore = f.logged("Tarvio Futures Conversion: sending request");
  f.callAt(mondayAt(9, 45));
  EXPECT_EQ(f.requests(), requestsBefore + 1);
  EXPECT_EQ(f.logged("Tarvio Futures Conversion: sending request"), conversionsBefore + 1);
}

struct FailureCase {
  const char* answer;  // null: the transfer fails
  int updateStartIndex;
  int noLevelsNotes;
};

TEST(RequestDriverTest, FailedAndEmptyAnswersClearTheSnapshotsAndRetryLater) {
  const FailureCase cases[] = {{nullptr, 0, 0}, {"", 0, 1}, {"", 5, 0}};
  for (const FailureCase& c : cases) {
    DriverFixture f;
    openAndAnswerHistory(f);
    ASSERT_TRUE(f.transport->answer(kProfileBody));
    f.callAt(mondayAt(10, 30, 2));
    ASSERT_EQ(f.stored(kProfileReadyKey), 1);
    f.callAt(mondayAt(10, 30, 10));
    ASSERT_TRUE(c.answer ? f.transport->answer(c.answer) : f.transport->fail());
    CallSettings settings;
    settings.currentDateTime = settings.clockDateTime = mondayAt(10, 30, 11);
    settings.updateStartIndex = c.updateStartIndex;
    f.study.instance.runCall(settings);

    EXPECT_EQ(f.alerted("There was an error requesting data from the server."), 1);
    EXPECT_EQ(f.logged("There are no TarVio levels for the given parameters."), c.noLevelsNotes);
    const auto* gex =
        static_cast<GexProfile*>(f.study.instance.store().pointerValue(kGexProfileKey));
    EXPECT_TRUE(gex->strikes.empty());
    EXPECT_EQ(f.study.chart.drawings().all().size(), 0u);
    EXPECT_EQ(f.stored(kRequestStateKey), kRequestHandled);
    f.callAt(mondayAt(10, 30, 15));
    EXPECT_EQ(f.stored(kRequestStateKey), kRequestWaiting)
        << "the next request follows the interval";
  }
}

TEST(RequestDriverTest, ServiceErrorKeepsTheLastGoodLevelsDrawn) {
  DriverFixture f;
  openAndAnswerHistory(f);
  ASSERT_TRUE(f.transport->answer(kProfileBody));
  f.callAt(mondayAt(10, 30, 2));
  f.callAt(mondayAt(10, 30, 10));
  ASSERT_TRUE(f.transport->answer("{\"error\":\"busy\"}"));
  f.callAt(mondayAt(10, 30, 11));
  EXPECT_EQ(f.alerted("Tarvio API Error: \"busy\". Retrying."), 1);
  EXPECT_EQ(f.study.chart.drawings().all().size(), 5u);
  EXPECT_EQ(f.stored(kProfileReadyKey), 1);
}

TEST(RequestDriverTest, InvalidKeyHaltsUntilAFullRecalculation) {
  DriverFixture f;
  openAndAnswerHistory(f);
  ASSERT_TRUE(f.transport->answer("{\"message\":\"ERROR: Invalid API Key.\"}"));
  f.callAt(mondayAt(10, 30, 2));
  EXPECT_EQ(f.stored(kRequestsHaltedKey), 1);
  EXPECT_EQ(f.alerted("Halting requests."), 1);
  for (int minute = 31; minute < 40; ++minute) f.callAt(mondayAt(10, minute));
  EXPECT_EQ(f.requests(), 2);

  f.callAt(mondayAt(10, 40), true);
  EXPECT_EQ(f.stored(kRequestsHaltedKey), 0);
  EXPECT_EQ(f.requests(), 3);  // the history first, once more
  ASSERT_TRUE(f.transport->answer("[]"));
  f.callAt(mondayAt(10, 40, 1));
  EXPECT_EQ(f.requests(), 4);
}

TEST(RequestDriverTest, AnswerDeliveredWhileHaltedIsNotParsed) {
  DriverFixture f;
  openAndAnswerHistory(f);
  f.stored(kRequestsHaltedKey) = 1;
  ASSERT_TRUE(f.transport->answer(kProfileBody));
  f.callAt(mondayAt(10, 30, 2));
  EXPECT_EQ(f.stored(kRequestStateKey), kRequestHandled);
  EXPECT_EQ(f.stored(kProfileReadyKey), 0);
}

TEST(RequestDriverTest, SnapshotsAreMadeOnFirstUseAndReleasedAtTheEnd) {
  DriverFixture f;
  f.callAt(mondayAt(10, 30));
  PersistentStore& store = f.study.instance.store();
  EXPECT_NE(store.pointerValue(kGexProfileKey), nullptr);
  EXPECT_NE(store.pointerValue(kGreekProfileKey), nullptr);
  f.study.instance.runLastCall(false);
  EXPECT_EQ(store.countLivePointers(), 0);
}

}  // namespace
