// The chart program's watch over the host's transport: failures counted by
// kind, and the giving-up rule, which only a service never reached meets.
#include "tools/chart/run/transport_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "host/scripted_transport.h"

using namespace chart_tool;
using namespace chart_tool::run;
using chart_host::ScriptedTransport;

namespace {

// One transfer's end per letter: d delivered, n not reached, c cut short.
TransportTally runThrough(const std::string& ends) {
  auto scripted = std::make_shared<ScriptedTransport>();
  TransportWatch watch(scripted);
  for (const char end : ends) {
    EXPECT_TRUE(watch.start(HttpRequest{"https://levels.example/v2/x", "", {}}, [](HttpOutcome) {}));
    if (end == 'd') scripted->answer("{}", 500);
    if (end == 'n') scripted->fail(TransferFailure::ServiceNotReached);
    if (end == 'c') scripted->fail(TransferFailure::AnswerCutShort);
  }
  return watch.tally();
}

TEST(TransportWatchTest, GivesUpOnlyOnAServiceNeverReachedNorAnswering) {
  struct Case {
    const char* ends;
    bool unreachable;
  };
  const Case cases[] = {
      {"", false},
      {"nn", false},
      {"nnn", true},
      {"cnnn", true},    // reached once, then gone: three in a row still tell
      {"nncnn", false},  // an answer in part breaks the run
      {"cccccccccc", false},
      {"dnnnnn", false},  // a service that answered once is asked on
      {"ncncncnc", false},
  };
  for (const Case& c : cases) EXPECT_EQ(serviceUnreachable(runThrough(c.ends)), c.unreachable) << c.ends;
}

TEST(TransportWatchTest, CountsFailuresByKind) {
  const TransportTally tally = runThrough("ncdcnn");
  EXPECT_EQ(tally.delivered, 1);
  EXPECT_EQ(tally.failed, 5);
  EXPECT_EQ(tally.notReached, 3);
  EXPECT_EQ(tally.cutShort, 2);
  EXPECT_EQ(tally.failedInARow, 3);
  EXPECT_EQ(tally.notReachedInARow, 2);
  EXPECT_EQ(tally.lastError, "the transfer failed");
}

// On the simulated clock the run judges the service by the settled tally: a
// refusal that comes back late still counts on the call that asked, and a
// transfer that never ends holds the run no longer than the limit.
TEST(TransportWatchTest, TheSettledTallyWaitsForEveryTransferStartedWithinItsLimit) {
  using namespace std::chrono_literals;
  struct Case {
    const char* what;
    std::chrono::milliseconds answeredAfter;  // negative: never
    int failed;
  };
  const Case cases[] = {{"ended before", 0ms, 1}, {"ends late", 50ms, 1}, {"never ends", -1ms, 0}};
  for (const Case& c : cases) {
    auto scripted = std::make_shared<ScriptedTransport>();
    TransportWatch watch(scripted);
    ASSERT_TRUE(watch.start(HttpRequest{"https://levels.example/v2/x", "", {}}, [](HttpOutcome) {}));
    std::thread answering;
    if (c.answeredAfter == 0ms) scripted->fail();
    if (c.answeredAfter > 0ms) answering = std::thread([&] {
      std::this_thread::sleep_for(c.answeredAfter);
      scripted->fail();
    });
    EXPECT_EQ(watch.settledTally(c.answeredAfter < 0ms ? 20ms : 10s).failed, c.failed) << c.what;
    if (answering.joinable()) answering.join();
  }
}

}  // namespace
