// The replay's answers: which recorded exchange answers a request to a route
// at a clock time, how it reaches the host as it ended then, and what a
// route without an answer gets; and the replay's command line.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/temporary_folder.h"
#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/command_line/run_plan.h"
#include "tools/chart/replay/replay_run.h"
#include "tools/chart/replay/replay_transport.h"
#include "tools/chart/run/simulated_clock.h"
#include "tools/recording/recording_writer.h"
#include "tools/support/date_time_text.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::command_line;
using namespace chart_tool::replay;
using namespace chart_tool::run;
using recording::RecordedExchange;
using recording::ReplayTimeline;

namespace {

const std::string kProfile = "/v2/sierra/ES_SPX/classic/full";
const std::string kHistory = "/v2/sierra/hist/ES_SPX/classic/gex_full/majors/7";

HostDateTime at(const char* time) { return *support::readDateTime(std::string("2026-03-02 ") + time); }

RecordedExchange delivered(int64_t number, const char* time, const std::string& route, std::string body,
                           long status = 200) {
  RecordedExchange exchange;
  exchange.number = number;
  exchange.requestedAt = at(time);
  exchange.answeredAt = exchange.requestedAt + kMicrosecondsPerSecond;
  exchange.route = route;
  exchange.url = "https://api.tarvio.com" + route;
  exchange.delivered = true;
  exchange.status = status;
  exchange.body = std::move(body);
  return exchange;
}

RecordedExchange failed(int64_t number, const char* time, const std::string& route, bool reached) {
  RecordedExchange exchange = delivered(number, time, route, "");
  exchange.delivered = false;
  exchange.status = 0;
  exchange.error = reached ? "answer cut short" : "could not connect";
  exchange.serviceReached = reached;
  return exchange;
}

std::vector<RecordedExchange> someDay() {
  return {delivered(1, "10:15:00", kHistory, "history"),  delivered(2, "10:15:01", kProfile, "first"),
          failed(3, "10:15:06", kProfile, true),          delivered(4, "10:15:11", kProfile, "oops", 500),
          delivered(5, "10:15:11", kProfile, "same time, later"), failed(6, "10:15:16", kProfile, false)};
}

TEST(ReplayTimeline, AnswersEachRouteWithItsLatestExchangeAtOrBeforeTheTime) {
  const ReplayTimeline timeline(someDay());
  struct Case {
    std::string route;
    const char* time;
    std::optional<int64_t> number;  // none: nothing answers
    bool routeRecorded;
  };
  const std::vector<Case> cases = {
      {kProfile, "10:15:00", std::nullopt, true},  // before its first request
      {kProfile, "10:15:01", 2, true},             // exactly at a request time
      {kProfile, "10:15:05", 2, true},             // between two
      {kProfile, "10:15:06", 3, true},
      {kProfile, "10:15:11", 5, true},             // two at one time: the later of the recording
      {kProfile, "12:00:00", 6, true},             // after the last: the last stays current
      {kHistory, "10:15:30", 1, true},             // routes do not mix
      {"/v2/sierra/NDX/classic/full", "10:15:30", std::nullopt, false},
  };
  for (const Case& c : cases) {
    const ReplayTimeline::Found found = timeline.at(c.route, at(c.time));
    SCOPED_TRACE(c.route + " at " + c.time);
    EXPECT_EQ(found.routeRecorded, c.routeRecorded);
    ASSERT_EQ(found.exchange != nullptr, c.number.has_value());
    if (c.number) {
      EXPECT_EQ(found.exchange->number, *c.number);
    }
    if (c.routeRecorded) {
      EXPECT_EQ(found.firstRequestedAt, c.route == kProfile ? at("10:15:01") : at("10:15:00"));
    }
  }
  EXPECT_EQ(timeline.firstRequestedAt(), at("10:15:00"));
  EXPECT_TRUE(ReplayTimeline().empty());
}

TEST(ReplayTimeline, TakesTheRouteFromTheUrlsPathAlone) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"https://api.tarvio.com/v2/sierra/ES_SPX/classic/full", "/v2/sierra/ES_SPX/classic/full"},
      {"https://127.0.0.1:8443/v2/sierra/SPX/state/gamma?x=1#top", "/v2/sierra/SPX/state/gamma"},
      {"https://api.tarvio.com", "/"},
      {"https://api.tarvio.com?q=1", "/"},
      {"/v2/a", "/v2/a"},
      {"", "/"},
  };
  for (const auto& [url, route] : cases) EXPECT_EQ(recording::routeOfRequest(url), route) << url;
}

// The outcomes the replay transport hands the host, one request at a time
// at the clock's time.
struct Replayed {
  SimulatedClock clock{at("10:15:00")};
  std::vector<std::string> notes;
  ReplayTransport transport{ReplayTimeline(someDay()), clock,
                            [this](const std::string& note) { notes.push_back(note); }};

  HttpOutcome ask(const char* time, const std::string& route) {
    clock.waitUntil(at(time));
    std::optional<HttpOutcome> outcome;
    EXPECT_TRUE(transport.start(HttpRequest{"https://api.tarvio.com" + route, "", {}},
                                [&outcome](HttpOutcome o) { outcome = std::move(o); }));
    EXPECT_TRUE(outcome.has_value()) << "answered at once";
    return outcome.value_or(HttpOutcome{});
  }
};

TEST(ReplayTransport, AnswersAtOnceAsTheRecordedTransferEnded) {
  struct Case {
    const char* time;
    bool delivered;
    long status;
    std::string body;
    std::string error;
    TransferFailure failure;
  };
  const std::vector<Case> cases = {
      {"10:15:02", true, 200, "first", "", TransferFailure::ServiceNotReached},
      {"10:15:07", false, 0, "", "answer cut short", TransferFailure::AnswerCutShort},
      {"10:15:11", true, 200, "same time, later", "", TransferFailure::ServiceNotReached},
      {"10:15:20", false, 0, "", "could not connect", TransferFailure::ServiceNotReached},
  };
  Replayed replay;
  for (const Case& c : cases) {
    const HttpOutcome outcome = replay.ask(c.time, kProfile);
    SCOPED_TRACE(c.time);
    EXPECT_EQ(outcome.delivered, c.delivered);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.body, c.body);
    EXPECT_EQ(outcome.error, c.error);
    if (!c.delivered) {
      EXPECT_EQ(outcome.failure, c.failure);
    }
  }
  EXPECT_TRUE(replay.notes.empty());
}

TEST(ReplayTransport, FailsARouteWithoutAnAnswerAndNotesItOncePerRoute) {
  Replayed replay;
  const std::string ndx = "/v2/sierra/NDX/classic/full";
  // Too early for a recorded route, then never recorded, each asked twice.
  for (const char* time : {"10:15:00", "10:15:00"}) {
    const HttpOutcome early = replay.ask(time, kProfile);
    EXPECT_FALSE(early.delivered);
    // The recording is there: not a service out of reach, which would end the run.
    EXPECT_EQ(early.failure, TransferFailure::AnswerCutShort);
  }
  EXPECT_TRUE(replay.ask("10:15:02", kProfile).delivered);
  for (const char* time : {"10:16:00", "10:17:00"}) EXPECT_FALSE(replay.ask(time, ndx).delivered);
  ASSERT_EQ(replay.notes.size(), 2u);
  EXPECT_EQ(replay.notes[0], "Host: the recording has no answer for " + kProfile +
                                 " before 10:15:01; answered as a failed transfer");
  EXPECT_EQ(replay.notes[1], "Host: the recording has no answer for " + ndx +
                                 " (the run never asked for it); answered as a failed transfer");
}

TEST(ReplaySpan, TakesAnOlderRecordingsStretchUnlessTheCommandLineChoosesOne) {
  recording::Recording recorded;
  recording::RecordingHeader& header = recorded.header;
  header.version = 1;
  header.firstCall = at("10:15:00");
  header.lastCall = at("11:15:00");
  header.stepMicroseconds = 5 * kMicrosecondsPerSecond;
  struct Case {
    std::vector<std::string> arguments;
    HostDateTime first, last;
    int64_t step_us;
  };
  const std::vector<Case> cases = {
      {{}, at("10:15:00"), at("11:15:00"), 5 * kMicrosecondsPerSecond},
      {{"--step", "1"}, at("10:15:00"), at("11:15:00"), kMicrosecondsPerSecond},
      {{"--start", "2026-03-02 10:30"}, at("10:30:00"), at("11:15:00"), 5 * kMicrosecondsPerSecond},
      {{"--end", "2026-03-02 10:20"}, at("10:15:00"), at("10:20:00"), 5 * kMicrosecondsPerSecond},
      // A start after the recording's end is one call, not a span that runs backwards.
      {{"--start", "2026-03-02 12:00"}, at("12:00:00"), at("12:00:00"), 5 * kMicrosecondsPerSecond},
  };
  for (const Case& c : cases) {
    ChartOptions options;
    std::string error;
    ASSERT_TRUE(parseChartOptions(c.arguments, options, error)) << error;
    const CallSpan span = replaySpan(planOf(options).run.clock, recorded).span;
    EXPECT_EQ(span.first, c.first) << testing::PrintToString(c.arguments);
    EXPECT_EQ(span.last, c.last) << testing::PrintToString(c.arguments);
    EXPECT_EQ(span.step_us, c.step_us) << testing::PrintToString(c.arguments);
  }
}

TEST(ReplayOptions, ReadsTheReplayAndFramesAndRefusesWhatCannotGoWithThem) {
  ChartOptions read;
  std::string error;
  ASSERT_TRUE(parseChartOptions({"--replay", "rec", "--frames", "out", "--frame-every", "2.5"}, read, error)) << error;
  EXPECT_EQ(read.replayPath, "rec");
  EXPECT_EQ(read.framesPath, "out");
  EXPECT_EQ(read.frameEverySeconds, 2.5);
  EXPECT_FALSE(read.stepGiven);

  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"--replay", "r", "--real-clock", "60"}, "--replay runs the recording on the simulated clock; leave out --real-clock"},
      {{"--replay", "r", "--service-address", "127.0.0.1:8443"},
       "--replay answers from the recording, without the network; leave out --service-address"},
      {{"--replay", "r", "--zone", "UTC"}, "--replay runs in the recording's zone, as its times are; leave out --zone"},
      {{"--frames", "f", "--real-clock", "60"},
       "--frames draws a simulated run (--replay, or --start and --end against a stand-in) at chosen clock times; "
       "on the real clock they would come at the study's pace for as long as the run lasts: use --png"},
      {{"--frames", "f", "--frame-every", "0"}, "--frame-every takes seconds above 0 (at least 0.001), up to 86400, not '0'"},
      {{"--frames", "f", "--frame-every", "-5"},
       "--frame-every takes seconds above 0 (at least 0.001), up to 86400, not '-5'"},
      {{"--replay="}, "--replay takes a recording's folder, not ''"},
  };
  for (const auto& [arguments, message] : refused) {
    ChartOptions options;
    std::string why;
    EXPECT_FALSE(parseChartOptions(arguments, options, why)) << testing::PrintToString(arguments);
    EXPECT_EQ(why, message);
  }
}

// A replay's plan is the typed one with the recording's zone, bars (unless
// --bars) and inputs, the recorded inputs first; an input the recording
// holds that is not NAME=VALUE is refused, naming the recording.
TEST(ReplayPlan, TakesTheRecordingsZoneBarsAndInputsUnderTheTypedOnes) {
  struct Case {
    std::vector<std::string> recordedInputs;
    std::vector<std::string> arguments;
    std::string bars;  // empty: the recording's
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"Ticker=NDX", "Package=1"}, {"--set", "Ticker=SPX"}, "", ""},
      {{}, {"--bars", "mine.csv"}, "mine.csv", ""},
      {{"Ticker=NDX", "no equals sign"}, {}, "", ": a recorded input is not NAME=VALUE: 'no equals sign'"},
  };
  for (const Case& c : cases) {
    test_files::TemporaryFolder temporary;
    const std::string folder = temporary.file("recording");
    recording::RecordingHeader header;
    header.chartZone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
    header.simulatedClock = true;
    header.firstCall = at("10:15:00");
    header.lastCall = at("10:20:00");
    header.inputs = c.recordedInputs;
    recording::RecordingWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(folder, header, {}, error)) << error;
    recording::RecordedCall first;
    first.number = 1;
    first.at = header.firstCall;
    ASSERT_TRUE(writer.appendCall(first, error)) << error;
    std::vector<std::string> arguments = {"--replay", folder};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    ChartOptions options;
    ASSERT_TRUE(parseChartOptions(arguments, options, error)) << error;
    RunPlan resolved;
    const std::optional<recording::Recording> read = openReplay(planOf(options), resolved, error);
    if (!c.error.empty()) {
      EXPECT_FALSE(read);
      EXPECT_EQ(error, folder + c.error);
      continue;
    }
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(resolved.chart.zoneText, header.chartZone);
    EXPECT_EQ(resolved.chart.bars.path, c.bars.empty() ? read->barsPath : c.bars);
    EXPECT_EQ(resolved.chart.inputs.recordingPath, folder);
    ASSERT_EQ(resolved.chart.inputs.recorded.size(), c.recordedInputs.size());
    for (std::size_t i = 0; i < c.recordedInputs.size(); ++i)
      EXPECT_EQ(resolved.chart.inputs.recorded[i].first + "=" + resolved.chart.inputs.recorded[i].second,
                c.recordedInputs[i]);
    EXPECT_EQ(resolved.chart.inputs.typed, planOf(options).chart.inputs.typed);
  }
}

}  // namespace
