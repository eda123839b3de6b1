// A board of charts in one tarvio-chart run against the stand-in: on the
// simulated clock each chart writes what it would alone, and a chart that
// fails stops no other; on the real clock each chart keeps its own status,
// on the page's /status.json too, its recording replays to the same
// outputs, and a futures conversion that
// holds one chart's call for seconds holds up none of the other's.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/civil_calendar.h"
#include "integration/background_program.h"
#include "integration/plain_http.h"
#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::readText;

// Monday 2026-03-02 10:15 in New York (UTC-5 that day), as Unix seconds.
int64_t unixAt1015() {
  return (chart_host::dayNumberOfDate(2026, 3, 2) - chart_host::kDayNumberOf1970) * 86400 + 15 * 3600 + 15 * 60;
}

constexpr const char* kBoard =
    R"({"charts": [{"name": "ES", "set": ["Ticker=ES_SPX"]},
                   {"name": "NQ", "set": ["Ticker=NQ_NDX"], "startPrice": 20500, "seed": 3}]})";

std::vector<std::string> serviceArguments(const StandinProcess& standin) {
  return {"--service-address", "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(),
          "--api-key", "standin-key", "--no-progress", "--stale-after", "3600"};
}

ProcessResult runChart(std::vector<std::string> arguments, const std::vector<std::string>& more) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 120);
}

void expectSameFiles(const std::string& folder, const std::string& name, const std::string& alone) {
  for (const std::string suffix : {".csv", "-drawings.json", "-status.json", "-log.txt", ".png"}) {
    const std::string written = readText(folder + "/" + name + suffix);
    EXPECT_TRUE(!written.empty() || suffix == "-log.txt") << name << suffix;
    EXPECT_TRUE(written == readText(alone + "/chart" + suffix)) << name << suffix << " differs from the chart alone";
  }
}

TEST(ChartBoard, EachChartWritesWhatItWouldAloneAndAFailingChartStopsNoOther) {
  ScratchFolder files;
  std::string board = kBoard;
  // A chart whose bars file is missing, between the two good ones.
  board.insert(board.find(R"({"name": "NQ")"), R"({"name": "gone", "bars": "missing.csv"}, )");
  std::ofstream(files.file("board.json")) << board;
  const std::vector<std::string> span = {"--start", "2026-03-02 10:15", "--end", "2026-03-02 10:25", "--step", "5",
                                         "--frame-every", "300"};
  StandinProcess boardStandin({"--now", std::to_string(unixAt1015()), "--advance", "5"});
  ASSERT_TRUE(boardStandin.ready()) << boardStandin.standardError();
  std::vector<std::string> arguments = serviceArguments(boardStandin);
  arguments.insert(arguments.end(), span.begin(), span.end());
  const ProcessResult run = runChart(arguments, {"--board", files.file("board.json"), "--out", files.file("out")});
  EXPECT_EQ(run.exit_status, 2) << "the failing chart's status: " << run.standard_error;
  EXPECT_NE(run.standard_error.find("tarvio-chart: gone: " + files.file("missing.csv") + ": cannot be read"), std::string::npos)
      << run.standard_error;
  EXPECT_FALSE(std::filesystem::exists(files.file("out/gone.csv")));

  // The same charts alone, against a stand-in of their own.
  StandinProcess aloneStandin({"--now", std::to_string(unixAt1015()), "--advance", "5"});
  ASSERT_TRUE(aloneStandin.ready()) << aloneStandin.standardError();
  arguments = serviceArguments(aloneStandin);
  arguments.insert(arguments.end(), span.begin(), span.end());
  const ProcessResult es = runChart(arguments, {"--set", "Ticker=ES_SPX", "--out", files.file("es")});
  const ProcessResult nq =
      runChart(arguments, {"--set", "Ticker=NQ_NDX", "--start-price", "20500", "--seed", "3", "--out", files.file("nq")});
  ASSERT_EQ(es.exit_status, 0) << es.standard_error;
  ASSERT_EQ(nq.exit_status, 0) << nq.standard_error;
  expectSameFiles(files.file("out"), "ES", files.file("es"));
  expectSameFiles(files.file("out"), "NQ", files.file("nq"));
  EXPECT_EQ(readText(files.file("out/frames/NQ/frames.csv")), readText(files.file("nq/frames/chart/frames.csv")));
  EXPECT_NE(readText(files.file("out/ES.csv")), readText(files.file("out/NQ.csv")));
}

// A chart's status file as its run writes it, read while the run goes on.
rapidjson::Document statusOf(const std::string& path) {
  rapidjson::Document status;
  status.Parse(readText(path).c_str());
  return status;
}

int callsIn(const rapidjson::Document& status) {
  return status.IsObject() && status.HasMember("calls") ? status["calls"].GetInt() : 0;
}

TEST(ChartBoard, OnTheRealClockEachChartKeepsItsOwnStatusOnThePageAndItsRecordingReplays) {
  StandinProcess standin;
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder files;
  std::ofstream(files.file("board.json")) << kBoard;
  std::vector<std::string> arguments = serviceArguments(standin);
  arguments.insert(arguments.end(), {"--board", files.file("board.json"), "--real-clock", "5", "--out",
                                     files.file("out"), "--record", files.file("rec"), "--serve", "127.0.0.1:0",
                                     "--set", "Request Interval=1", "--set", "Request Start Time=00:00", "--set",
                                     "Request End Time=23:59"});
  live_test::BackgroundProgram run(TARVIO_CHART_PATH, arguments, files.file("stderr.txt"));
  const std::optional<std::string> line = run.lineWith("tarvio-chart: live view at http://127.0.0.1:", 20);
  ASSERT_TRUE(line) << run.standardError();
  const int port = std::stoi(line->substr(line->rfind(':') + 1));
  // Once both charts have levels, the page's status holds each as its status file does.
  rapidjson::Document page;
  for (int tries = 0; tries < 200; ++tries) {
    page.Parse(live_test::askServer(port, live_test::requestText("GET", "/status.json")).body.c_str());
    const auto drawn = [&](unsigned chart) {
      const rapidjson::Value& status = page["charts"][chart];
      return status.HasMember("levels") && status["levels"].Size() > 0;
    };
    if (page.IsObject() && page.HasMember("charts") && page["charts"].Size() == 2 && drawn(0) && drawn(1)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(page.IsObject() && page.HasMember("charts") && page["charts"].Size() == 2) << run.standardError();
  const char* tickers[] = {"ES_SPX", "NQ_NDX"};
  for (unsigned chart = 0; chart < 2; ++chart) {
    const rapidjson::Value& status = page["charts"][chart];
    EXPECT_STREQ(status["name"].GetString(), chart == 0 ? "ES" : "NQ");
    EXPECT_NE(std::string(status["title"].GetString()).find(tickers[chart]), std::string::npos) << chart;
    EXPECT_GT(status["levels"].Size(), 0u) << chart;
    EXPECT_FALSE(status["stale"].GetBool()) << chart;
  }
  ASSERT_EQ(run.waitForExit(30), 0) << run.standardError();
  for (const std::string name : {"ES", "NQ"}) {
    const rapidjson::Document status = statusOf(files.file("out/") + name + "-status.json");
    ASSERT_TRUE(status.IsObject()) << name;
    EXPECT_GE(callsIn(status), 3) << name;
  }
  EXPECT_EQ(readText(files.file("rec/board.json")), kBoard);

  const ProcessResult replay =
      standin_test::runProgram(TARVIO_CHART_PATH, {"--replay", files.file("rec"), "--out", files.file("again"),
                                                   "--no-progress", "--stale-after", "3600"}, 120);
  ASSERT_EQ(replay.exit_status, 0) << replay.standard_error;
  for (const std::string name : {"ES", "NQ"}) {
    for (const std::string suffix : {".csv", "-drawings.json"})
      EXPECT_TRUE(readText(files.file("out/") + name + suffix) == readText(files.file("again/") + name + suffix))
          << name << suffix << " differs in the replay";
  }
}

TEST(ChartBoard, AFuturesConversionHoldingOneChartsCallHoldsUpNoneOfTheOthers) {
  StandinProcess standin({"--fault", "slow", "--fault-endpoint", "futures", "--slow-seconds", "4"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder files;
  std::string board = kBoard;
  board.replace(board.find("\"Ticker=ES_SPX\""), 15, R"("Ticker=ES_SPX", "Futures Target=ES")");
  std::ofstream(files.file("board.json")) << board;
  std::vector<std::string> arguments = serviceArguments(standin);
  arguments.insert(arguments.end(), {"--board", files.file("board.json"), "--real-clock", "8", "--out",
                                     files.file("out"), "--module", TARVIO_TEST_ROUTE_MODULE_PATH, "--quiet"});
  live_test::BackgroundProgram program(TARVIO_CHART_PATH, arguments, files.file("stderr.txt"));
  // Each chart's calls by the wall-clock time its status showed them.
  using Clock = std::chrono::steady_clock;
  std::vector<std::pair<Clock::time_point, int>> es, nq;
  while (!program.ended()) {
    const Clock::time_point now = Clock::now();
    for (auto [seen, name] : {std::pair{&es, "ES"}, std::pair{&nq, "NQ"}}) {
      const int calls = callsIn(statusOf(files.file("out/") + name + "-status.json"));
      if (seen->empty() || seen->back().second != calls) seen->emplace_back(now, calls);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(program.waitForExit(5), 0) << program.standardError();
  // ES's longest stretch without a call is the conversion's hold; NQ called on meanwhile.
  ASSERT_GE(es.size(), 2u);
  std::size_t held = 1;
  for (std::size_t i = 1; i < es.size(); ++i)
    if (es[i].first - es[i - 1].first > es[held].first - es[held - 1].first) held = i;
  EXPECT_GE(es[held].first - es[held - 1].first, std::chrono::seconds(3)) << "the conversion held ES's call";
  int nqCallsMeanwhile = 0;
  for (std::size_t i = 1; i < nq.size(); ++i)
    if (nq[i].first > es[held - 1].first && nq[i].first < es[held].first) ++nqCallsMeanwhile;
  EXPECT_GE(nqCallsMeanwhile, 2) << "NQ was held up with ES";
}

}  // namespace
