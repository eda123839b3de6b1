// tarvio-chart honest about the age of its levels, as a person runs it
// against a tarvio-standin process over TLS on the simulated clock: the
// status file through good answers, a run of refusals and the recovery; the
// run that ends with requests halted (exit status 4); the key never shown;
// the chart before the request window opens.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "host/civil_calendar.h"
#include "support/standin_process.h"
#include "support/text_files.h"

using chart_host::dayNumberOfDate;

namespace {

using test_text::linesOf;
using test_text::readText;

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;

// Monday 2026-03-02 at a New York time (UTC-5 that day), as Unix seconds.
int64_t unixAtNewYork(int hours, int minutes) {
  return (dayNumberOfDate(2026, 3, 2) - dayNumberOfDate(1970, 1, 1)) * 86400 + (hours + 5) * 3600 + minutes * 60;
}

// The program's own lines on standard error (the study's messages are not).
std::string programLines(const std::string& standardError) {
  std::string own;
  for (const std::string& line : linesOf(standardError))
    if (line.rfind("tarvio-chart: ", 0) == 0) own += line + "\n";
  return own;
}

class ChartStatus : public testing::Test {
 protected:
  // A run of the simulated clock from 10:15:00 to `end` on synthetic bars,
  // against the stand-in, writing the status file and the picture.
  ProcessResult runTo(const StandinProcess& standin, const std::string& end, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {
        "--start", "2026-03-02 10:15", "--end", "2026-03-02 " + end,
        "--service-address", "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(),
        "--status", out.file("status.json"), "--png", out.file("chart.png"), "--csv", out.file("outputs.csv"),
        "--no-progress"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
  }

  rapidjson::Document status() const {
    rapidjson::Document document;
    document.Parse(readText(out.file("status.json")).c_str());
    return document;
  }

  ScratchFolder out;
};

// The profile requests 3 to 6 get HTTP 500: the study takes two answers
// (10:15:02 and 10:15:07), then refuses four (10:15:12 to 10:15:27), then
// takes them again from 10:15:32. One stand-in per run, so each counts its
// requests from the first.
TEST_F(ChartStatus, FollowsGoodAnswersARunOfRefusalsAndTheRecovery) {
  const std::vector<std::string> faults = {"--now", std::to_string(unixAtNewYork(10, 15)), "--fault", "http500",
                                           "--fault-endpoint", "profile", "--fault-requests", "3-6"};
  {
    StandinProcess standin(faults);
    ASSERT_TRUE(standin.ready()) << standin.standardError();
    const ProcessResult run = runTo(standin, "10:15:30", {"--api-key", "standin-key"});
    ASSERT_EQ(run.exit_status, 0) << run.standard_error;
    const rapidjson::Document failing = status();
    ASSERT_TRUE(failing.IsObject());
    EXPECT_STREQ(failing["now"].GetString(), "2026-03-02 10:15:30");
    EXPECT_STREQ(failing["lastGoodAnswer"].GetString(), "2026-03-02 10:15:07");
    // The stand-in dates every answer 10:15:00: the levels' age is the service's.
    EXPECT_EQ(failing["ageSeconds"].GetInt(), 30);
    EXPECT_STREQ(failing["levelsAgeFrom"].GetString(), "service");
    EXPECT_TRUE(failing["stale"].GetBool());  // 15 s is three intervals
    EXPECT_STREQ(failing["staleReason"].GetString(), "no profile taken for 3 request intervals of 5 s");
    EXPECT_STREQ(failing["notice"].GetString(),
                 "the service refused its answers since 10:15:12 (HTTP 500); levels from 10:15:00");
    EXPECT_STREQ(failing["lastErrorAt"].GetString(), "2026-03-02 10:15:27");
    EXPECT_EQ(failing["calls"].GetInt(), 31);
    EXPECT_EQ(failing["answers"].GetInt(), 2);
    EXPECT_EQ(failing["historyAnswers"].GetInt(), 1);
    EXPECT_EQ(failing["refusals"].GetInt(), 4);
    EXPECT_EQ(failing["failedTransfers"].GetInt(), 0);
    EXPECT_EQ(failing["lastHttpStatus"].GetInt(), 500);
    EXPECT_EQ(std::string(failing["lastError"].GetString()).rfind("HTTP 500", 0), 0u);
    EXPECT_FALSE(failing["halted"].GetBool());
    EXPECT_STREQ(failing["requestWindow"].GetString(), "open");
    EXPECT_GE(failing["levels"].Size(), 3u);  // the last good levels stay drawn
    EXPECT_NE(programLines(run.standard_error).find("4 answers refused (HTTP 500 \u00d74)"), std::string::npos)
        << run.standard_error;
    EXPECT_NE(programLines(run.standard_error).find("levels STALE at the end"), std::string::npos);
  }
  StandinProcess standin(faults);
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run = runTo(standin, "10:15:45", {"--api-key", "standin-key", "--quiet"});
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.standard_error, "");
  const rapidjson::Document recovered = status();
  EXPECT_STREQ(recovered["lastGoodAnswer"].GetString(), "2026-03-02 10:15:42");
  EXPECT_EQ(recovered["ageSeconds"].GetInt(), 45);
  EXPECT_FALSE(recovered["stale"].GetBool());
  EXPECT_TRUE(recovered["lastError"].IsNull() && recovered["lastErrorAt"].IsNull());
  EXPECT_EQ(recovered["answers"].GetInt(), 5);
  EXPECT_EQ(recovered["refusals"].GetInt(), 4);
  EXPECT_EQ(recovered["lastHttpStatus"].GetInt(), 200);
  EXPECT_TRUE(recovered["notice"].IsNull());
}

TEST_F(ChartStatus, CountsFailedTransfersByTheirReason) {
  StandinProcess standin({"--now", std::to_string(unixAtNewYork(10, 15)), "--fault", "close", "--fault-endpoint",
                          "profile", "--fault-requests", "2-3"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run = runTo(standin, "10:15:20", {"--api-key", "standin-key"});
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;
  const rapidjson::Document failed = status();
  EXPECT_EQ(failed["failedTransfers"].GetInt(), 2);
  EXPECT_EQ(failed["answers"].GetInt(), 2);
  EXPECT_NE(programLines(run.standard_error).find("2 failed transfers ("), std::string::npos) << run.standard_error;
}

// A refused key halts the study's requests: the run writes everything and
// ends with status 4 and one line naming why; the key shows nowhere.
TEST_F(ChartStatus, EndsWithStatus4WhenTheKeyIsRefused) {
  const std::string key = "sk-live-ZQX7-distinctive-key";
  StandinProcess standin({"--now", std::to_string(unixAtNewYork(10, 15)), "--fault", "invalid-key", "--api-key", key});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  for (const bool quiet : {false, true}) {
    std::vector<std::string> extra = {"--api-key", key};
    if (quiet) extra.push_back("--quiet");
    const ProcessResult run = runTo(standin, "10:15:30", extra);
    EXPECT_EQ(run.exit_status, 4) << run.standard_error;
    const std::vector<std::string> lines = linesOf(run.standard_error);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "tarvio-chart: requests halted: Tarvio API Error: ERROR: Invalid API Key. Halting requests.");
    if (quiet) {
      EXPECT_EQ(lines.size(), 1u) << run.standard_error;
    }
    EXPECT_EQ(run.standard_error.find(key), std::string::npos) << run.standard_error;
    EXPECT_GT(std::filesystem::file_size(out.file("chart.png")), 1000u);
    EXPECT_GT(std::filesystem::file_size(out.file("outputs.csv")), 100u);
    const std::string text = readText(out.file("status.json"));
    EXPECT_EQ(text.find(key), std::string::npos) << text;
    const rapidjson::Document halted = status();
    EXPECT_TRUE(halted["halted"].GetBool());
    EXPECT_STREQ(halted["haltReason"].GetString(), "Tarvio API Error: ERROR: Invalid API Key. Halting requests.");
    EXPECT_STREQ(halted["notice"].GetString(), "no levels: requests halted (see the message log)");
    EXPECT_EQ(halted["answers"].GetInt(), 0);
  }
}

// A setting that cannot go into a request halts them too; the study's alert
// quotes the ticker, here made of the key, which the program's own lines and
// the status file hide.
TEST_F(ChartStatus, HidesTheKeyWhereTheStudyQuotesIt) {
  const std::string key = "ZQX7SECRETKEY42";
  StandinProcess standin({"--now", std::to_string(unixAtNewYork(10, 15)), "--api-key", key});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run = runTo(standin, "10:15:10", {"--api-key", key, "--set", "Ticker=" + key + "!"});
  EXPECT_EQ(run.exit_status, 4) << run.standard_error;
  const std::string own = programLines(run.standard_error);
  EXPECT_NE(own.find("requests halted: Tarvio: the Ticker \"<API KEY>!\" cannot go into a request"), std::string::npos)
      << own;
  EXPECT_EQ(own.find(key), std::string::npos) << own;
  const std::string text = readText(out.file("status.json"));
  EXPECT_EQ(text.find(key), std::string::npos) << text;
  EXPECT_NE(text.find("<API KEY>"), std::string::npos) << text;
}

// Before the window opens the chart says when requests start, in the zone
// the study's inputs name.
TEST_F(ChartStatus, SaysWhenRequestsStartWhileTheWindowIsClosed) {
  StandinProcess standin({"--now", std::to_string(unixAtNewYork(9, 0))});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const struct {
    std::vector<std::string> settings;
    const char* notice;
  } cases[] = {
      {{}, "no levels yet: requests start at 09:30 New York time"},
      {{"--set", "Time Zone=6", "--set", "Request Start Time=08:30"},
       "no levels yet: requests start at 08:30 Chicago time"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {
        "--start", "2026-03-02 09:00", "--end", "2026-03-02 09:02", "--service-address",
        "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(), "--api-key",
        "standin-key", "--status", out.file("status.json"), "--quiet"};
    arguments.insert(arguments.end(), c.settings.begin(), c.settings.end());
    const ProcessResult run = standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
    ASSERT_EQ(run.exit_status, 0) << run.standard_error;
    const rapidjson::Document closed = status();
    EXPECT_STREQ(closed["notice"].GetString(), c.notice);
    EXPECT_STREQ(closed["requestWindow"].GetString(), "closed");
    EXPECT_FALSE(closed["stale"].GetBool());
    EXPECT_EQ(closed["calls"].GetInt(), 121);
    EXPECT_EQ(closed["answers"].GetInt() + closed["refusals"].GetInt() + closed["failedTransfers"].GetInt(), 0);
    EXPECT_TRUE(closed["lastGoodAnswer"].IsNull());
  }
}

TEST_F(ChartStatus, StopsAtTheStartWhenTheStatusFileCannotBeWritten) {
  const ProcessResult run = standin_test::runProgram(
      TARVIO_CHART_PATH, {"--service-address=127.0.0.1:1", "--status", out.file("no-such-folder/status.json")}, 60);
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(linesOf(run.standard_error).size(), 1u) << run.standard_error;
  EXPECT_NE(run.standard_error.find("status.json: cannot be written"), std::string::npos) << run.standard_error;
}

// A link planted where the status's temporary file once was never makes the
// run write through it to the file it points at.
TEST_F(ChartStatus, NeverWritesThroughALinkPlantedBesideTheStatusFile) {
  std::ofstream(out.file("victim.txt")) << "keep";
  std::filesystem::create_symlink(out.file("victim.txt"), out.file("status.json.tmp"));
  const ProcessResult run = standin_test::runProgram(
      TARVIO_CHART_PATH, {"--service-address=127.0.0.1:1", "--start", "2026-03-02 10:15", "--end",
                          "2026-03-02 10:16", "--status", out.file("status.json"), "--quiet"}, 60);
  EXPECT_EQ(run.exit_status, 3) << run.standard_error;
  EXPECT_EQ(readText(out.file("victim.txt")), "keep");
  EXPECT_TRUE(std::filesystem::is_symlink(out.file("status.json.tmp")));
  EXPECT_EQ(status()["calls"].GetInt(), 7);  // the third refused request goes out at 10:15:06
}

TEST_F(ChartStatus, ExplainsTheStatusFileAndExitStatus4) {
  const ProcessResult run = standin_test::runProgram(TARVIO_CHART_PATH, {"--help"}, 60);
  EXPECT_EQ(run.exit_status, 0);
  for (const char* text : {"--status PATH", "lastGoodAnswer", "ageSeconds", "stale", "failedTransfers", "levels",
                           "4 the run ended with", "STALE"})
    EXPECT_NE(run.standard_output.find(text), std::string::npos) << text;
}

// A real-clock run a trader ends early (Ctrl-C, or a request to terminate)
// still writes its outputs and its summary, and exits as a finished run.
TEST_F(ChartStatus, ARealClockRunEndedEarlyWritesWhatItDrewAndItsSummary) {
  StandinProcess standin({"--api-key", "standin-key"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::vector<std::string> chart = {TARVIO_CHART_PATH, "--real-clock", "120", "--step", "30",
      "--service-address", "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(),
      "--api-key", "standin-key", "--status", out.file("status.json"), "--csv", out.file("outputs.csv"),
      "--no-progress"};
  // The shell starts the chart, lets it make its first call, asks it to stop
  // during the wait for the second and waits for it; the chart makes one
  // more call, at the time it was stopped.
  const char* script = R"(status=$1; shift; "$@" & chart=$!; tries=0
    while [ $tries -lt 150 ] && ! grep -q '"calls": 1,' "$status" 2>/dev/null; do sleep 0.1; tries=$((tries+1)); done
    kill -TERM "$chart"; wait "$chart")";
  std::vector<std::string> arguments = {"-c", script, "sh", out.file("status.json")};
  arguments.insert(arguments.end(), chart.begin(), chart.end());
  const auto started = std::chrono::steady_clock::now();
  const ProcessResult run = standin_test::runProgram("/bin/sh", arguments, 60);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << "a 30 s step is cut short";
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  const std::string own = programLines(run.standard_error);
  EXPECT_NE(own.find("tarvio-chart: interrupted after 2 calls; writing what was drawn"), std::string::npos) << own;
  EXPECT_NE(own.find("tarvio-chart: 2 calls: "), std::string::npos) << own;
  EXPECT_TRUE(status().IsObject());
  EXPECT_GT(linesOf(readText(out.file("outputs.csv"))).size(), 1u);
}

}  // namespace

