// The recording transport of tarvio-chart: exchanges written in the order
// their requests were made whatever order the answers come in, the key hidden
// wherever it shows, a refused request leaving no gap, answer times by the
// clock's kind, and a recording that cannot be written stopping quietly while
// the study still gets every answer.
#include "tools/chart/replay/recording_transport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/temporary_folder.h"
#include "support/text_files.h"
#include "tools/chart/run/simulated_clock.h"
#include "tools/recording/recorded_exchange.h"

using namespace chart_tool;
using namespace chart_tool::replay;
using namespace chart_tool::run;
using chart_host::TransferFailure;

namespace {

constexpr const char* kKey = "key-7Hq2pLm";
constexpr HostDateTime kTenFifteen = 46083LL * kMicrosecondsPerDay + 10 * kMicrosecondsPerHour + 15 * kMicrosecondsPerMinute;

// Holds every completion until the test ends a transfer, in any order.
class HeldTransport : public HttpTransport {
 public:
  bool start(const HttpRequest&, Completion done) override {
    if (refuseNext_) {
      refuseNext_ = false;
      return false;
    }
    held_.push_back(std::move(done));
    return true;
  }
  void end(std::size_t started, HttpOutcome outcome) { held_.at(started)(std::move(outcome)); }
  void refuseNext() { refuseNext_ = true; }

 private:
  std::vector<Completion> held_;
  bool refuseNext_ = false;
};

HttpOutcome answer(long status, std::string body) { return HttpOutcome{true, status, std::move(body), "", {}}; }

HttpRequest profileRequest(const std::string& ticker) {
  return HttpRequest{"https://api.tarvio.com/v2/sierra/" + ticker + "/classic/full?k=" + kKey,
                     "",
                     {{"Authorization", std::string("Basic ") + kKey}, {"Accept", "application/json"},
                      {"X-Echo", std::string("again ") + kKey}}};
}

class RecordingTransportTest : public testing::Test {
 protected:
  void SetUp() override {
    auto writer = std::make_unique<recording::RecordingWriter>();
    std::string error;
    ASSERT_TRUE(writer->open(folder(), recording::RecordingHeader{}, {}, error)) << error;
    recorder = std::make_shared<ExchangeRecorder>(std::move(writer));
  }
  std::string folder() const { return temporary.file("recording"); }
  RecordingTransport transport(AnswerTiming timing = {}) {
    return RecordingTransport(held, recorder, clock, timing, kKey);
  }
  recording::Recording readBack() {
    recording::Recording read;
    std::string error;
    EXPECT_TRUE(recording::readRecording(folder(), read, error)) << error;
    return read;
  }
  // Starts a request and counts the answers the study gets for it.
  void startCounted(RecordingTransport& recording, const HttpRequest& request) {
    EXPECT_TRUE(recording.start(request, [this](HttpOutcome) { ++answersHanded; }));
  }

  test_files::TemporaryFolder temporary;
  std::shared_ptr<HeldTransport> held = std::make_shared<HeldTransport>();
  std::shared_ptr<ExchangeRecorder> recorder;
  SimulatedClock clock{kTenFifteen};
  int answersHanded = 0;
};

TEST_F(RecordingTransportTest, WritesExchangesInRequestOrderWhateverOrderAnswersCome) {
  RecordingTransport recording = transport();
  for (const char* ticker : {"A", "B", "C", "D"}) {
    startCounted(recording, profileRequest(ticker));
    clock.waitUntil(clock.now() + kMicrosecondsPerSecond);
  }
  held->end(2, answer(200, "C"));
  held->end(0, answer(500, "A"));
  EXPECT_EQ(recorder->written(), 1);  // C waits for B
  held->end(3, HttpOutcome{false, 0, "", "Connection reset", TransferFailure::AnswerCutShort});
  held->end(1, HttpOutcome{false, 0, "", "Could not connect", TransferFailure::ServiceNotReached});
  EXPECT_EQ(answersHanded, 4);
  EXPECT_EQ(recorder->written(), 4);

  const recording::Recording read = readBack();
  ASSERT_EQ(read.exchanges.size(), 4u);
  const struct {
    const char* route;
    bool delivered;
    long status;
    const char* body;
    const char* error;
    bool reached;
  } expected[] = {
      {"/v2/sierra/A/classic/full", true, 500, "A", "", true},
      {"/v2/sierra/B/classic/full", false, 0, "", "Could not connect", false},
      {"/v2/sierra/C/classic/full", true, 200, "C", "", true},
      {"/v2/sierra/D/classic/full", false, 0, "", "Connection reset", true},
  };
  for (int i = 0; i < 4; ++i) {
    const recording::RecordedExchange& exchange = read.exchanges[i];
    EXPECT_EQ(exchange.number, i + 1);
    EXPECT_EQ(exchange.route, expected[i].route);
    EXPECT_EQ(exchange.endpoint, "profile");
    EXPECT_EQ(exchange.method, "GET");
    EXPECT_EQ(exchange.delivered, expected[i].delivered) << i;
    EXPECT_EQ(exchange.status, expected[i].status) << i;
    EXPECT_EQ(exchange.body, expected[i].body) << i;
    EXPECT_EQ(exchange.error, expected[i].error) << i;
    EXPECT_EQ(exchange.serviceReached, expected[i].reached) << i;
    // The simulated clock hands each answer over on the call one step later.
    EXPECT_EQ(exchange.requestedAt, kTenFifteen + i * kMicrosecondsPerSecond);
    EXPECT_EQ(exchange.answeredAt, exchange.requestedAt + kMicrosecondsPerSecond);
  }
}

TEST_F(RecordingTransportTest, HidesTheKeyWhereverItShows) {
  RecordingTransport recording = transport(AnswerTiming{false, 0});
  HttpRequest history = profileRequest("ES_SPX");
  history.url = "https://api.tarvio.com/v2/sierra/hist/ES_SPX/classic/gex_full/majors/7";
  history.body = std::string("{\"key\": \"") + kKey + "\"}";
  startCounted(recording, history);
  held->end(0, HttpOutcome{true, 200, std::string("{\"message\": \"bad key ") + kKey + "\"}", "", {}});
  startCounted(recording, profileRequest("ES_SPX"));
  held->end(1, HttpOutcome{false, 0, "", std::string("refused ") + kKey, TransferFailure::ServiceNotReached});

  const recording::Recording read = readBack();
  ASSERT_EQ(read.exchanges.size(), 2u);
  const recording::RecordedExchange& first = read.exchanges[0];
  EXPECT_EQ(first.endpoint, "history");
  EXPECT_EQ(first.method, "POST");
  EXPECT_EQ(first.requestBody, "{\"key\": \"<API KEY>\"}");
  EXPECT_EQ(first.body, "{\"message\": \"bad key <API KEY>\"}");
  const std::vector<std::pair<std::string, std::string>> headers = {
      {"Authorization", "<API KEY>"}, {"Accept", "application/json"}, {"X-Echo", "again <API KEY>"}};
  EXPECT_EQ(first.headers, headers);
  EXPECT_EQ(read.exchanges[1].url, "https://api.tarvio.com/v2/sierra/ES_SPX/classic/full?k=<API KEY>");
  EXPECT_EQ(read.exchanges[1].route, "/v2/sierra/ES_SPX/classic/full");
  EXPECT_EQ(read.exchanges[1].error, "refused <API KEY>");
  EXPECT_TRUE(first.keyHidden);
  EXPECT_TRUE(read.exchanges[1].keyHidden);
  // On the real clock an answer's time is its request's plus the transfer's.
  EXPECT_GE(first.answeredAt, first.requestedAt);
  EXPECT_LT(first.answeredAt, first.requestedAt + 60 * kMicrosecondsPerSecond);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder())) {
    if (!entry.is_regular_file()) continue;
    EXPECT_EQ(test_text::readText(entry.path().string()).find(kKey), std::string::npos) << entry.path();
  }
}

// A key too short to be told from data is kept out of the header that
// carries it, and the service's texts are recorded as they came.
TEST_F(RecordingTransportTest, AShortKeyIsNeverSearchedForInWhatTheServiceSent) {
  RecordingTransport recording(held, recorder, clock, AnswerTiming{}, "5750");
  HttpRequest request = profileRequest("ES_SPX");
  request.headers = {{"Authorization", "Basic 5750"}};
  startCounted(recording, request);
  held->end(0, answer(200, "{\"price\": 5750.25}"));
  const recording::Recording read = readBack();
  ASSERT_EQ(read.exchanges.size(), 1u);
  EXPECT_EQ(read.exchanges[0].body, "{\"price\": 5750.25}");
  EXPECT_FALSE(read.exchanges[0].keyHidden);
  EXPECT_EQ(read.exchanges[0].headers.front().second, recording::kHiddenKey);
}

TEST_F(RecordingTransportTest, ARefusedRequestLeavesNoGapInTheNumbers) {
  RecordingTransport recording = transport();
  held->refuseNext();
  EXPECT_FALSE(recording.start(profileRequest("A"), [this](HttpOutcome) { ++answersHanded; }));
  startCounted(recording, profileRequest("B"));
  held->end(0, answer(200, "B"));
  EXPECT_EQ(answersHanded, 1);
  const recording::Recording read = readBack();
  ASSERT_EQ(read.exchanges.size(), 1u);
  EXPECT_EQ(read.exchanges[0].route, "/v2/sierra/B/classic/full");
}

TEST_F(RecordingTransportTest, AFailureToWriteStopsTheRecordingOnceAndTheAnswersStillCome) {
  RecordingTransport recording = transport();
  startCounted(recording, profileRequest("A"));
  held->end(0, answer(200, "A"));
  EXPECT_EQ(recorder->newFailure(), "");
  std::filesystem::remove_all(folder() + "/bodies");
  for (int i = 1; i <= 3; ++i) {
    startCounted(recording, profileRequest("B"));
    held->end(i, answer(200, "B"));
  }
  EXPECT_EQ(answersHanded, 4);
  EXPECT_TRUE(recorder->stopped());
  EXPECT_EQ(recorder->written(), 1);
  const std::string failure = recorder->newFailure();
  EXPECT_NE(failure.find(folder() + "/bodies/000002.body: cannot be written ("), std::string::npos) << failure;
  EXPECT_EQ(recorder->newFailure(), "");
  // Nothing of the exchanges that could not be written is in the index.
  EXPECT_EQ(test_text::linesOf(test_text::readText(folder() + "/exchanges.jsonl")).size(), 2u);
}

}  // namespace
