// tarvio-chart's alerts as a person meets them: the real program against a
// real tarvio-standin over TLS that answers fixed levels, on bars whose
// closes come near zero gamma, cross it and hover on it. The alerts reach the
// log and the --on-alert program, the quiet time holds back the hovering, and
// a program that cannot be started is told once while the run goes on.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "tools/chart/alerts/alert_command.h"
#include "support/standin_process.h"
#include "support/text_files.h"
#include "host/civil_calendar.h"
#include "tools/support/date_time_text.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::alerts;

namespace {

using test_text::linesOf;
using test_text::readText;

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;

// A key no output may show.
constexpr const char* kApiKey = "alerts-key-7Q2xW";

// Monday 2026-03-02 10:15 in New York (UTC-5 that day), as Unix seconds.
int64_t unixAt1015() { return (dayNumberOfDate(2026, 3, 2) - dayNumberOfDate(1970, 1, 1)) * 86400 + 15 * 3600 + 900; }

// Every answer of the stand-in puts zero gamma at 5868.82, the other majors
// far from the prices of the bars, and no premium.
constexpr const char* kProfile =
    R"({"timestamp":1772464500,"ticker":"ES_SPX","spot":5866.5,"zero_gamma":5868.82,"major_pos_vol":5900,)"
    R"("major_pos_oi":5950,"major_neg_vol":5800,"major_neg_oi":5750,"sum_gex_vol":-1234.5,"sum_gex_oi":98765.25,)"
    R"("delta_risk_reversal":-0.125,"strikes":[[5800,-150,0,[]],[5850,120,0,[]],[5900,300,0,[]]]})";
constexpr const char* kConversion = R"({"future_contract":"ESH6","multiplier":1,"additive":0})";

// One-minute bars from 09:00: 5860 until 10:15, then the closes that meet
// zero gamma, one a minute from 10:16.
constexpr float kClosesFrom1016[] = {5866.00f, 5868.00f, 5869.25f, 5868.50f, 5869.00f,
                                     5866.00f, 5868.25f, 5869.50f, 5869.75f, 5869.75f};

void writeText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string barsText() {
  std::string text = "datetime,open,high,low,close,volume\n";
  char line[96];
  for (int minute = 9 * 60; minute < 10 * 60 + 26; ++minute) {
    const int after = minute - (10 * 60 + 16);
    const float close = after < 0 ? 5860.0f : kClosesFrom1016[after];
    std::snprintf(line, sizeof line, "2026-03-02 %02d:%02d:00,%.2f,%.2f,%.2f,%.2f,100\n", minute / 60, minute % 60,
                  close, close + 0.5f, close - 0.5f, close);
    text += line;
  }
  return text;
}

// The log's lines that the host marked as its alerts, without their times.
std::vector<std::string> hostAlerts(const std::string& log) {
  const std::string mark = "ALERT Host: ";
  std::vector<std::string> alerts;
  for (const std::string& line : linesOf(log)) {
    const std::size_t at = line.find(mark);
    if (at != std::string::npos) alerts.push_back(line.substr(at + mark.size()));
  }
  return alerts;
}

class ChartAlerts : public testing::Test {
 protected:
  ChartAlerts()
      : standin({"--now", std::to_string(unixAt1015()), "--api-key", kApiKey, "--replay",
                 "profile=" + profileFile(), "--replay", "futures=" + conversionFile()}) {
    writeText(out.file("bars.csv"), barsText());
  }

  // A run from 10:15 to 10:25 every 30 seconds, the ticker typed loosely.
  ProcessResult runWith(const std::vector<std::string>& alertOptions) {
    std::vector<std::string> arguments = {"--bars", out.file("bars.csv"),
        "--start", "2026-03-02 10:15", "--end", "2026-03-02 10:25", "--step", "30",
        "--service-address", "127.0.0.1:" + std::to_string(standin.port()),
        "--ca-file", standin.certificatePath(), "--api-key", kApiKey, "--set", "Ticker= es_spx ",
        "--log", out.file("log.txt")};
    arguments.insert(arguments.end(), alertOptions.begin(), alertOptions.end());
    return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
  }

  // A program for --on-alert that adds its one argument to a file, a line each.
  std::string appendingScript() {
    const std::string script = out.file("on-alert.sh");
    writeText(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + out.file("received.txt") + "'\n");
    chmod(script.c_str(), 0755);
    return script;
  }

  ScratchFolder replies;
  ScratchFolder out;
  StandinProcess standin;

 private:
  std::string profileFile() {
    writeText(replies.file("profile.json"), kProfile);
    return replies.file("profile.json");
  }
  std::string conversionFile() {
    writeText(replies.file("futures.json"), kConversion);
    return replies.file("futures.json");
  }
};

TEST_F(ChartAlerts, NearAndCrossingAlertsReachTheLogAndTheProgramOnceEachQuietTime) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run =
      runWith({"--alert", "cross", "--alert", "near=4", "--alert-quiet", "240", "--on-alert", appendingScript(),
               "--status", out.file("status.json")});
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;

  // The hovering from 10:19 to 10:21 is within the quiet time of the first
  // crossing; 10:22 and 10:23 are past it.
  const std::vector<std::string> expected = {
      "ES_SPX 5868.00 within 4 ticks of ZG 5868.82 at 10:17:00",
      "ES_SPX 5869.25 crossed ZG 5868.82 upward at 10:18:00",
      "ES_SPX 5868.25 within 4 ticks of ZG 5868.82 at 10:22:00",
      "ES_SPX 5869.50 crossed ZG 5868.82 upward at 10:23:00",
  };
  const std::string log = readText(out.file("log.txt"));
  EXPECT_EQ(hostAlerts(log), expected) << log;
  EXPECT_EQ(hostAlerts(run.standard_error), expected) << run.standard_error;
  // The programs run side by side, so they may finish in any order.
  std::vector<std::string> received = linesOf(readText(out.file("received.txt")));
  std::sort(received.begin(), received.end());
  std::vector<std::string> sorted = expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(received, sorted);
  EXPECT_NE(run.standard_error.find("0 messages of the study (0 alerts), 4 level alerts"), std::string::npos)
      << run.standard_error;

  // The status file lists them, and the host's alert lines are not taken for
  // the study's refusal of the answers that came after them.
  const std::string statusText = readText(out.file("status.json"));
  rapidjson::Document status;
  status.Parse(statusText.c_str());
  ASSERT_TRUE(status.IsObject()) << statusText;
  std::vector<std::string> listed;
  for (const auto& alert : status["alerts"].GetArray()) listed.emplace_back(alert.GetString());
  EXPECT_EQ(listed, expected) << statusText;
  EXPECT_EQ(status["refusals"].GetInt(), 0) << statusText;
  EXPECT_EQ(status["answers"].GetInt(), 10) << statusText;  // one every other call
  for (const std::string& written : {log, run.standard_error, run.standard_output, readText(out.file("received.txt")),
                                     statusText})
    EXPECT_EQ(written.find(kApiKey), std::string::npos);
}

TEST_F(ChartAlerts, EveryCrossingWithoutAQuietTimeAndAProgramThatCannotStartToldOnce) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run = runWith({"--alert", "cross", "--alert-quiet", "0", "--on-alert", out.file("missing")});
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;
  const std::string log = readText(out.file("log.txt"));
  EXPECT_EQ(hostAlerts(log).size(), 5u) << log;  // 10:18 to 10:21 and 10:23
  int told = 0;
  for (const std::string& line : linesOf(log))
    told += line.find("Host: --on-alert: cannot start '" + out.file("missing") + "'") != std::string::npos ? 1 : 0;
  EXPECT_EQ(told, 1) << log;
}

// Programs that have ended are released, so none is left as a zombie; the
// end of a run leaves one still running after a short wait.
TEST(AlertCommandProcesses, ReleasesEndedProgramsAndLeavesStragglersAfterAShortWait) {
  const auto noNote = [](const std::string& line) { ADD_FAILURE() << line; };
  AlertCommand ending("true", noNote);
  ending.run("alert");
  for (int wait = 0; wait < 250 && ending.releaseEnded() > 0; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(ending.releaseEnded(), 0u);

  const auto start = std::chrono::steady_clock::now();
  {
    AlertCommand lingering("sleep", noNote);
    lingering.run("3");  // the alert's text is sleep's one argument
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2900));
}

// On the real clock the bars file is followed as its writer adds to it: a bar
// written while the chart runs, crossing a level drawn by then, is alerted.
TEST_F(ChartAlerts, OnTheRealClockABarWrittenToTheFileWhileItRunsIsWatched) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  std::string bars = "datetime,open,high,low,close,volume\n";
  for (int minute = 0; minute < 30; ++minute)
    bars += "2026-03-02 09:" + std::string(minute < 10 ? "0" : "") + std::to_string(minute) + ":00,5860,5861,5859,5860,100\n";
  writeText(out.file("live.csv"), bars);
  ProcessResult run;
  std::thread chart([&] {
    run = standin_test::runProgram(TARVIO_CHART_PATH,
        {"--bars", out.file("live.csv"), "--real-clock", "12", "--service-address",
         "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(), "--api-key", kApiKey,
         "--set", "Request Start Time=00:00", "--set", "Request End Time=23:59", "--alert", "cross",
         "--status", out.file("status.json"), "--log", out.file("log.txt"), "--quiet"}, 60);
  });
  // The level must be on the chart before the bar that crosses it comes.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (readText(out.file("status.json")).find("\"ZG\"") == std::string::npos &&
         std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::ofstream(out.file("live.csv"), std::ios::app) << "2026-03-02 09:30:00,5860,5870,5860,5869.5,100\n";
  chart.join();
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;
  const std::vector<std::string> alerts = hostAlerts(readText(out.file("log.txt")));
  ASSERT_EQ(alerts.size(), 1u) << readText(out.file("log.txt"));
  EXPECT_EQ(alerts[0].rfind("ES_SPX 5869.50 crossed ZG 5868.82 upward at ", 0), 0u) << alerts[0];
}

}  // namespace
