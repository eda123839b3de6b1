// The stand-in answering from a chart run's recording: the clock of the
// recording's times, the answer of each path at a time, the options that ask
// for it, and the program's replies over HTTPS (the key still checked, a
// failed transfer closing the connection, a path never recorded 404).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "support/standin_process.h"
#include "tools/recording/recording_writer.h"
#include "tools/standin/recording_replay.h"
#include "tools/standin/standin_options.h"

namespace standin {
namespace {

using recording::RecordedExchange;
using std::chrono::seconds;
using std::chrono::steady_clock;

const std::string kProfile = "/v2/sierra/ES_SPX/classic/full";
const HostDateTime kDay = 46083 * kMicrosecondsPerDay;  // midnight of the recorded day
HostDateTime atSecond(int64_t s_of_day) { return kDay + s_of_day * kMicrosecondsPerSecond; }

RecordedExchange exchange(int64_t number, int64_t s_of_day, bool delivered, long status, std::string body) {
  RecordedExchange e;
  e.number = number;
  e.requestedAt = atSecond(s_of_day);
  e.route = kProfile;
  e.delivered = delivered;
  e.status = status;
  e.body = std::move(body);
  e.serviceReached = !delivered;
  return e;
}

// 10:15:00 answered, 10:15:05 failed, 10:15:10 answered 500.
recording::ReplayTimeline morning() {
  return recording::ReplayTimeline({exchange(1, 36900, true, 200, "{\"a\":1}"), exchange(2, 36905, false, 0, ""),
                                    exchange(3, 36910, true, 500, "Internal Server Error\n")});
}

TEST(RecordingReplay, AnswersEachPathAsTheRecordingStoodAtTheTime) {
  const RecordingReplay replay(morning(), RecordingClock{}, steady_clock::now());
  using Kind = RecordedAnswer::Kind;
  struct Case {
    std::string target;
    int64_t s_of_day;
    Kind kind;
    unsigned status;
    std::string body;
  };
  const std::vector<Case> cases = {
      {kProfile, 36899, Kind::NotRecorded, 0, ""},
      {kProfile, 36900, Kind::Delivered, 200, "{\"a\":1}"},
      {kProfile + "?any=query", 36904, Kind::Delivered, 200, "{\"a\":1}"},
      {kProfile, 36907, Kind::Failed, 0, ""},
      {kProfile, 40000, Kind::Delivered, 500, "Internal Server Error\n"},
      {"/v2/sierra/NDX/classic/full", 40000, Kind::NotRecorded, 0, ""},
  };
  for (const Case& c : cases) {
    const RecordedAnswer answer = replay.answerAt(c.target, atSecond(c.s_of_day));
    SCOPED_TRACE(c.target + " at " + std::to_string(c.s_of_day));
    EXPECT_EQ(answer.kind, c.kind);
    if (c.kind == Kind::Delivered) {
      EXPECT_EQ(answer.status, c.status);
      EXPECT_EQ(answer.body, c.body);
    }
  }
}

TEST(RecordingReplay, RunsItsClockFromTheFirstRequestOrAChosenTimeAtTheChosenSpeed) {
  const steady_clock::time_point tenSecondsAgo = steady_clock::now() - seconds(10);
  struct Case {
    RecordingClock clock;
    HostDateTime start;
    int64_t elapsed_s;  // recording seconds after ten real ones
  };
  const std::vector<Case> cases = {
      {RecordingClock{}, atSecond(36900), 10},
      {RecordingClock{9 * 3600 + 30 * 60, 1}, atSecond(34200), 10},
      {RecordingClock{std::nullopt, 6}, atSecond(36900), 60},
  };
  for (const Case& c : cases) {
    const RecordingReplay replay(morning(), c.clock, tenSecondsAgo);
    EXPECT_EQ(replay.startedAt(), c.start);
    const HostDateTime elapsed = replay.now() - c.start;
    EXPECT_GE(elapsed, c.elapsed_s * kMicrosecondsPerSecond);
    EXPECT_LT(elapsed, (c.elapsed_s + 5 * c.clock.speed) * kMicrosecondsPerSecond);
  }
}

TEST(RecordingReplayOptions, TakesAFolderWithoutEndpointAsARecording) {
  const auto parsed = parseStandinOptions({"--replay", "recorded/run", "--replay-from", "09:30", "--replay-speed", "60"});
  ASSERT_TRUE(parsed.ok()) << parsed.message();
  const StandinOptions& options = parsed.value();
  EXPECT_EQ(options.recording_folder, "recorded/run");
  EXPECT_TRUE(options.replays.empty());
  EXPECT_EQ(options.replay_from_s_of_day, 9 * 3600 + 30 * 60);
  EXPECT_EQ(options.replay_speed, 60);

  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"--replay", "a", "--replay", "b"}, "a second recording"},
      {{"--replay", "a", "--replay", "profile=p.json"}, "leave out --replay ENDPOINT=PATH"},
      {{"--replay-from", "09:30"}, "need --replay DIR"},
      {{"--replay-speed", "2"}, "need --replay DIR"},
      {{"--replay", "a", "--replay-from", "24:00"}, "HH:MM or HH:MM:SS"},
      {{"--replay", "a", "--replay-from", "9:30"}, "HH:MM or HH:MM:SS"},
      {{"--replay", "a", "--replay-from", "09:30:6"}, "HH:MM or HH:MM:SS"},
      {{"--replay", "a", "--replay-speed", "0"}, "a speed factor above 0"},
      {{"--replay", "a", "--replay-speed", "1e9"}, "a speed factor above 0"},
  };
  for (const auto& [arguments, words] : refused) {
    const auto result = parseStandinOptions(arguments);
    ASSERT_FALSE(result.ok()) << testing::PrintToString(arguments);
    EXPECT_NE(result.message().find(words), std::string::npos) << result.message();
  }
}

// A recording folder with the morning's exchanges and another path's
// failed transfer at its first request.
class MorningRecording {
 public:
  MorningRecording() {
    recording::RecordingWriter writer;
    std::string error;
    recording::RecordingHeader header;
    header.chartZone = "UTC+00";
    header.firstCall = atSecond(36900);
    header.lastCall = atSecond(36910);
    EXPECT_TRUE(writer.open(folder(), header, {}, error)) << error;
    std::vector<RecordedExchange> exchanges = {exchange(1, 36900, true, 200, "{\"a\":1}"),
                                               exchange(2, 36900, false, 0, ""),
                                               exchange(3, 36910, true, 500, "Internal Server Error\n")};
    exchanges[1].route = "/v2/sierra/SPX/classic/full";
    for (RecordedExchange& e : exchanges) {
      e.url = "https://api.tarvio.com" + e.route;
      e.method = "GET";
      e.endpoint = "profile";
      EXPECT_TRUE(writer.append(e, error)) << error;
    }
  }
  std::string folder() const { return scratch_.file("recording"); }

 private:
  standin_test::ScratchFolder scratch_;
};

standin_test::Fetched get(const standin_test::StandinProcess& standin, const std::string& path,
                          const char* key = "Authorization: Basic standin-key") {
  return standin_test::fetch({standin.url(path), {key}, nullptr, standin.certificatePath()});
}

TEST(RecordingReplayProcess, AnswersOverHttpsByTheRecordedTimes) {
  const MorningRecording recorded;
  standin_test::StandinProcess standin({"--replay", recorded.folder()});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const standin_test::Fetched first = get(standin, kProfile);
  EXPECT_EQ(first.curl_code, 0);
  EXPECT_EQ(first.status, 200);
  EXPECT_EQ(first.body, "{\"a\":1}");
  EXPECT_NE(get(standin, "/v2/sierra/SPX/classic/full").curl_code, 0);  // the recorded failure
  const standin_test::Fetched never = get(standin, "/v2/sierra/NDX/classic/full");
  EXPECT_EQ(never.status, 404);
  EXPECT_EQ(never.body, R"({"error":"not in the recording"})");
  EXPECT_EQ(get(standin, kProfile, "Authorization: Basic other").body, R"({"message":"ERROR: Invalid API Key."})");

  // From 10:15:10 on, the later answer.
  standin_test::StandinProcess later({"--replay", recorded.folder(), "--replay-from", "10:15:10"});
  ASSERT_TRUE(later.ready()) << later.standardError();
  const standin_test::Fetched refused = get(later, kProfile);
  EXPECT_EQ(refused.status, 500);
  EXPECT_EQ(refused.body, "Internal Server Error\n");
}

TEST(RecordingReplayProcess, RefusesAFolderThatIsNoRecordingInOneLine) {
  const standin_test::ScratchFolder empty;
  const standin_test::ProcessResult result = standin_test::runToEnd({"--replay", empty.path()});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_EQ(std::count(result.standard_error.begin(), result.standard_error.end(), '\n'), 1) << result.standard_error;
  EXPECT_EQ(result.standard_error.rfind("tarvio-standin: --replay: ", 0), 0u) << result.standard_error;
  EXPECT_NE(result.standard_error.find("exchanges.jsonl"), std::string::npos) << result.standard_error;
}

}  // namespace
}  // namespace standin
