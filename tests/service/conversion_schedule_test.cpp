// When the futures conversion goes out over a New York day, and how a failed
// request is reported. The module's HTTPS request is routed to a closed
// loopback port here, so every request fails at once.
#include "service/conversion_schedule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "service/direct_http_client.h"
#include "support/driver_fixture.h"
#include "support/test_platform.h"

using namespace tarvio;

namespace {

constexpr const char* kSending = "Tarvio Futures Conversion: sending request";

class ConversionScheduleTest : public testing::Test {
 protected:
  void SetUp() override { f.study.setText(kFuturesTargetInput, "es"); }
  DriverFixture f;  // routes the module's own request to a closed loopback port
};

struct ScheduleStep {
  HostDateTime clock;
  int sentSoFar;
  const char* why;
};

TEST_F(ConversionScheduleTest, FollowsTheDayTheTriggersAndTheRepeat) {
  const HostDateTime day = kMicrosecondsPerDay;
  const ScheduleStep steps[] = {
      {mondayAt(8, 50), 1, "first call"},
      {mondayAt(8, 55), 1, "five minutes later"},
      {mondayAt(9, 5), 2, "fifteen minutes after the last"},
      {mondayAt(9, 30, 10), 3, "the 09:30 trigger"},
      {mondayAt(9, 30, 50), 3, "09:30 fired already"},
      {mondayAt(9, 32), 4, "the 09:32 trigger"},
      {mondayAt(9, 32, 59), 4, "09:32 fired already"},
      {mondayAt(9, 47), 5, "fifteen minutes after 09:32"},
      {mondayAt(9, 31) + day, 6, "next day, no call before 09:00: repeat only"},
      {mondayAt(9, 32, 30) + day, 6, "09:32 trigger still marked from yesterday"},
      {mondayAt(8, 59) + 2 * day, 7, "Wednesday before 09:00 resets the triggers"},
      {mondayAt(9, 30) + 2 * day, 8, "Wednesday 09:30"},
      {mondayAt(9, 20) + 5 * day, 9, "Saturday, repeat"},
      {mondayAt(9, 30, 5) + 5 * day, 9, "no trigger on Saturday"},
  };
  for (const ScheduleStep& step : steps) {
    f.callAt(step.clock);
    EXPECT_EQ(f.logged(kSending), step.sentSoFar) << step.why;
  }
}

TEST_F(ConversionScheduleTest, RunsOnChangesWhateverTheWindowOrAHalt) {
  f.study.instance.input(kRequestEndTimeInput).dateTimeValue = 0.0;
  f.callAt(mondayAt(23, 0));
  f.stored(kRequestsHaltedKey) = 1;
  f.study.setText(kFuturesTargetInput, "nq");
  f.callAt(mondayAt(23, 1));
  f.study.setText(kTickerInput, "ndx");
  f.callAt(mondayAt(23, 2));
  f.callAt(mondayAt(23, 3));
  EXPECT_EQ(f.logged(kSending), 3);
  EXPECT_EQ(f.logged("Tarvio Futures Conversion: sending request (ticker=NDX -> future=NQ)..."), 1);
  EXPECT_STREQ(hostStringText(f.study.instance.store().stringValue(kLastConversionFutureKey)),
               "NQ");
}

TEST_F(ConversionScheduleTest, NoTargetNoRequest) {
  f.study.setText(kFuturesTargetInput, " ");
  f.callAt(mondayAt(9, 30, 1));
  EXPECT_EQ(f.logged("Futures Conversion"), 0);
}

// The failure text of a refused connection, with the platform's number.
std::string refusedText() {
  return "WinHttpSendRequest/ReceiveResponse failed (GetLastError=" +
         std::to_string(connectionRefusedErrorNumber()) + ")";
}

TEST_F(ConversionScheduleTest, FailedRequestIsReportedWithTheStepAndNumber) {
  f.callAt(mondayAt(10, 0));
  EXPECT_EQ(f.alerted("Tarvio Futures Conversion: request failed: " + refusedText()), 1);
  EXPECT_EQ(f.study.instance.store().int64Value(kLastConversionTimeKey), mondayAt(10, 0));
}

TEST_F(ConversionScheduleTest, DirectClientReportsAnUnreachableServiceAsNotCompleted) {
  DirectHttpResult result = fetchFuturesConversion("SPX", "ES", "key");
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(result.statusCode, 0u);
  EXPECT_STREQ(hostStringText(result.body), "");
  EXPECT_EQ(hostStringText(result.errorText), refusedText());
  releaseDirectHttpResult(result);
}

}  // namespace
