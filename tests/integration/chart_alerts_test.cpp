// tarvio-chart's alerts as a person meets them: the real program against a
// real tarvio-standin over TLS that answers fixed levels, on bars whose
// closes come near zero gamma, cross it, cross back and hover on it. The
// alerts reach the log, the status and the --on-alert program (argument and
// environment), the quiet time holds back the hovering each way, a program or
// ticker that cannot work stops the run at its start, and programs that hang
// are capped and ended after the run.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "integration/background_program.h"
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

  // A run from 10:15 to 10:25 every 30 seconds, the ticker typed loosely
  // unless the options give it.
  ProcessResult runWith(const std::vector<std::string>& alertOptions, bool typedTicker = true) {
    std::vector<std::string> arguments = {"--bars", out.file("bars.csv"),
        "--start", "2026-03-02 10:15", "--end", "2026-03-02 10:25", "--step", "30",
        "--service-address", "127.0.0.1:" + std::to_string(standin.port()),
        "--ca-file", standin.certificatePath(), "--api-key", kApiKey, "--log", out.file("log.txt")};
    if (typedTicker) arguments.insert(arguments.end(), {"--set", "Ticker= es_spx "});
    arguments.insert(arguments.end(), alertOptions.begin(), alertOptions.end());
    return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
  }

  // A program for --on-alert that adds its one argument to a file, a line
  // each, and the alert's parts from its environment to another.
  std::string appendingScript() {
    return script("on-alert.sh", "printf '%s\\n' \"$1\" >> '" + out.file("received.txt") + "'\n" +
                                     "printf '%s|%s|%s|%s|%s|%s|%s|%s\\n' \"$TARVIO_ALERT_TEXT\" \"$TARVIO_ALERT_TICKER\" "
                                     "\"$TARVIO_ALERT_LEVEL\" \"$TARVIO_ALERT_LEVEL_PRICE\" \"$TARVIO_ALERT_PRICE\" "
                                     "\"$TARVIO_ALERT_KIND\" \"$TARVIO_ALERT_DIRECTION\" \"$TARVIO_ALERT_TIME\" >> '" +
                                     out.file("environment.txt") + "'\n");
  }

  // A program for --on-alert that hangs with a child of its own, both of
  // whose ids it adds to ids.txt.
  std::string hangingScript() {
    const std::string ids = out.file("ids.txt");
    return script("hanging.sh", "sleep 60 &\necho \"$$\" >> '" + ids + "'\necho \"$!\" >> '" + ids + "'\nwait\n");
  }

  // Half an hour of still bars for a real-clock run to follow; its path.
  std::string stillBars() {
    std::string bars = "datetime,open,high,low,close,volume\n";
    for (int minute = 0; minute < 30; ++minute)
      bars += "2026-03-02 09:" + std::string(minute < 10 ? "0" : "") + std::to_string(minute) + ":00,5860,5861,5859,5860,100\n";
    writeText(out.file("live.csv"), bars);
    std::remove(out.file("status.json").c_str());
    return out.file("live.csv");
  }

  // Waits until the status file holds `part`.
  void waitForStatus(const std::string& part) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (readText(out.file("status.json")).find(part) == std::string::npos &&
           std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }

  // A shell script in the output folder, with `mode`.
  std::string script(const std::string& name, const std::string& body, mode_t mode = 0755) {
    const std::string path = out.file(name);
    writeText(path, "#!/bin/sh\n" + body);
    chmod(path.c_str(), mode);
    return path;
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

TEST_F(ChartAlerts, NearAndCrossingAlertsReachTheLogAndTheProgramOnceEachWayEachQuietTime) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run =
      runWith({"--alert", "cross", "--alert", "near=4", "--alert-quiet", "240", "--on-alert", appendingScript(),
               "--status", out.file("status.json")});
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;

  // The cross back at 10:19 is its own alert; the hovering at 10:20 and
  // 10:21 is within the quiet time of each way; 10:22 and 10:23 are past it.
  const std::vector<std::string> expected = {
      "ES_SPX 5868.00 within 4 ticks of ZG 5868.82 at 10:17:00",
      "ES_SPX 5869.25 crossed ZG 5868.82 upward at 10:18:00",
      "ES_SPX 5868.50 crossed ZG 5868.82 downward at 10:19:00",
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
  std::vector<std::string> environment = linesOf(readText(out.file("environment.txt")));
  std::sort(environment.begin(), environment.end());
  std::vector<std::string> parts = {
      expected[0] + "|ES_SPX|ZG|5868.82|5868.00|near|up|2026-03-02 10:17:00",
      expected[1] + "|ES_SPX|ZG|5868.82|5869.25|cross|up|2026-03-02 10:18:00",
      expected[2] + "|ES_SPX|ZG|5868.82|5868.50|cross|down|2026-03-02 10:19:00",
      expected[3] + "|ES_SPX|ZG|5868.82|5868.25|near|up|2026-03-02 10:22:00",
      expected[4] + "|ES_SPX|ZG|5868.82|5869.50|cross|up|2026-03-02 10:23:00"};
  std::sort(parts.begin(), parts.end());
  EXPECT_EQ(environment, parts);
  EXPECT_NE(run.standard_error.find("0 messages of the study (0 alerts), 5 level alerts"), std::string::npos)
      << run.standard_error;

  // The status file lists them, as texts and in their parts, and the host's
  // alert lines are not taken for the study's refusal of the answers that
  // came after them.
  const std::string statusText = readText(out.file("status.json"));
  rapidjson::Document status;
  status.Parse(statusText.c_str());
  ASSERT_TRUE(status.IsObject()) << statusText;
  std::vector<std::string> listed;
  for (const auto& alert : status["alerts"].GetArray()) listed.emplace_back(alert.GetString());
  EXPECT_EQ(listed, expected) << statusText;
  ASSERT_TRUE(status["alertList"].IsArray()) << statusText;
  ASSERT_EQ(status["alertList"].Size(), expected.size()) << statusText;
  const auto& crossBack = status["alertList"][2];
  EXPECT_STREQ(crossBack["time"].GetString(), "2026-03-02 10:19:00");
  EXPECT_EQ(crossBack["text"].GetString(), expected[2]);
  EXPECT_STREQ(crossBack["kind"].GetString(), "cross");
  EXPECT_STREQ(crossBack["direction"].GetString(), "down");
  EXPECT_STREQ(crossBack["level"].GetString(), "ZG");
  EXPECT_DOUBLE_EQ(crossBack["levelPrice"].GetDouble(), 5868.82);
  EXPECT_DOUBLE_EQ(crossBack["price"].GetDouble(), 5868.5);
  EXPECT_EQ(status["refusals"].GetInt(), 0) << statusText;
  EXPECT_EQ(status["answers"].GetInt(), 10) << statusText;  // one every other call
  for (const std::string& written : {log, run.standard_error, run.standard_output, readText(out.file("received.txt")),
                                     statusText})
    EXPECT_EQ(written.find(kApiKey), std::string::npos);
}

// What would fail only at the first alert, or hand the program an option,
// stops the run at its start with one line and exit 2.
TEST_F(ChartAlerts, AProgramThatCannotRunOrATickerLikeAnOptionStopsTheRunAtItsStart) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::string unrunnable = script("unrunnable.sh", "exit 0\n", 0644);
  writeText(out.file("settings.json"), R"({"Ticker": " -es_spx"})");
  struct Case {
    std::vector<std::string> options;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{"--set", "Ticker=ES_SPX", "--on-alert", out.file("missing.sh")}, "--on-alert: '" + out.file("missing.sh") + "' cannot be found ("},
      {{"--set", "Ticker=ES_SPX", "--on-alert", "no-such-program-for-alerts"}, "--on-alert: 'no-such-program-for-alerts' is not on the PATH"},
      {{"--set", "Ticker=ES_SPX", "--on-alert", out.path()}, "--on-alert: '" + out.path() + "' is not a regular file"},
      {{"--set", "Ticker=ES_SPX", "--on-alert", unrunnable}, "--on-alert: '" + unrunnable + "' may not be run by this user"},
      {{"--set", "Ticker=--version"}, "the Ticker input '--VERSION' begins with '-'"},
      {{"--settings", out.file("settings.json")}, "the Ticker input '-ES_SPX' begins with '-'"},
  };
  for (const Case& test : cases) {
    std::vector<std::string> options = {"--alert", "cross"};
    options.insert(options.end(), test.options.begin(), test.options.end());
    const ProcessResult run = runWith(options, false);
    EXPECT_EQ(run.exit_status, 2) << run.standard_error;
    EXPECT_EQ(run.standard_error.rfind("tarvio-chart: " + test.line, 0), 0u) << run.standard_error;
    EXPECT_EQ(linesOf(run.standard_error).size(), 1u) << run.standard_error;
  }
  EXPECT_EQ(readText(out.file("log.txt")), "");  // nothing ran
}

// Processes alive (zombies are not: only their parent's reaping is left).
int runningOf(const std::vector<std::string>& ids) {
  int running = 0;
  for (const std::string& id : ids) {
    const std::string stat = readText("/proc/" + id + "/stat");
    const std::size_t state = stat.rfind(')');
    running += state != std::string::npos && state + 2 < stat.size() && stat[state + 2] != 'Z' ? 1 : 0;
  }
  return running;
}

// Programs that hang, each with a child of its own: five alerts start four,
// the fifth is told once, and 2 s after the run every one is ended with its
// child.
TEST_F(ChartAlerts, HangingProgramsAreCappedAndNoneOutlivesTheRun) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::string ids = out.file("ids.txt");
  const std::string hanging =
      script("hanging.sh", "sleep 60 &\necho \"$$\" >> '" + ids + "'\necho \"$!\" >> '" + ids + "'\nwait\n");
  const auto start = std::chrono::steady_clock::now();
  const ProcessResult run = runWith({"--alert", "cross", "--alert-quiet", "0", "--on-alert", hanging});
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));  // not the hanging programs' minute
  const std::string log = readText(out.file("log.txt"));
  EXPECT_EQ(hostAlerts(log).size(), 5u) << log;  // 10:18 to 10:21 and 10:23
  const std::vector<std::string> started = linesOf(readText(ids));
  EXPECT_EQ(started.size(), 8u) << log;  // four programs and their children
  int passedOver = 0;
  for (const std::string& line : linesOf(log))
    passedOver += line.find("Host: --on-alert: 4 programs started on earlier alerts still run") != std::string::npos;
  EXPECT_EQ(passedOver, 1) << log;
  EXPECT_NE(log.find("Host: --on-alert: 4 programs still running 2 s after the run ended were ended"),
            std::string::npos) << log;
  // SIGKILL takes a moment to land on the children.
  for (int wait = 0; wait < 100 && runningOf(started) > 0; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(runningOf(started), 0) << readText(ids);
}

// Programs that have ended are released, so none is left as a zombie; the
// end of a run ends one still running after a short wait.
TEST(AlertCommandProcesses, ReleasesEndedProgramsAndEndsStragglersAfterAShortWait) {
  const auto noNote = [](const std::string& line) { ADD_FAILURE() << line; };
  RaisedAlert alert;
  alert.text = "alert";
  AlertCommand ending("true", noNote);
  ending.run(alert);
  for (int wait = 0; wait < 250 && ending.releaseEnded() > 0; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(ending.releaseEnded(), 0u);

  const auto start = std::chrono::steady_clock::now();
  {
    AlertCommand lingering("sleep", noNote);
    alert.text = "3";  // the alert's text is sleep's one argument
    lingering.run(alert);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2900));
}

// On the real clock, as a trader leaves it running: the bars file's writer
// adds bars while the chart runs, and each is watched once the level is
// drawn. With the quiet time a cross back is its own alert and a cross again
// is not, and the program gets each alert's parts; without it, programs that
// hang are capped at four and none outlives the run.
TEST_F(ChartAlerts, OnTheRealClockBarsWrittenWhileItRunsAreWatchedAndTheProgramsBounded) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::string ids = out.file("ids.txt");
  const std::string hanging = hangingScript();
  struct Case {
    std::vector<std::string> options;
    std::vector<const char*> closes;  // written one by one, each once the chart has shown the one before
    std::vector<std::string> alerts;  // their texts up to " at "
  };
  const std::vector<Case> cases = {
      {{"--on-alert", appendingScript()},
       {"5869.5", "5868.5", "5869.25"},
       {"ES_SPX 5869.50 crossed ZG 5868.82 upward", "ES_SPX 5868.50 crossed ZG 5868.82 downward"}},
      {{"--alert-quiet", "0", "--on-alert", hanging},
       {"5869.5", "5868.5", "5869.25", "5868", "5869", "5868.25"},
       {}},
  };
  for (const Case& test : cases) {
    std::vector<std::string> arguments = {"--bars", stillBars(), "--real-clock", "12", "--service-address",
        "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(), "--api-key", kApiKey,
        "--set", "Request Start Time=00:00", "--set", "Request End Time=23:59", "--alert", "cross",
        "--status", out.file("status.json"), "--log", out.file("log.txt"), "--quiet"};
    arguments.insert(arguments.end(), test.options.begin(), test.options.end());
    ProcessResult run;
    std::thread chart([&] { run = standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60); });
    waitForStatus("\"ZG\"");  // the level is on the chart before a bar crosses it
    for (std::size_t k = 0; k < test.closes.size(); ++k) {
      std::ofstream(out.file("live.csv"), std::ios::app)
          << "2026-03-02 09:3" << k << ":00,5860,5870,5860," << test.closes[k] << ",100\n";
      waitForStatus("\"lastPrice\": " + std::string(test.closes[k]));
    }
    chart.join();
    ASSERT_EQ(run.exit_status, 0) << run.standard_error;
    const std::string log = readText(out.file("log.txt"));
    const std::vector<std::string> alerts = hostAlerts(log);
    if (!test.alerts.empty()) {
      ASSERT_EQ(alerts.size(), test.alerts.size()) << log;
      for (std::size_t k = 0; k < alerts.size(); ++k) EXPECT_EQ(alerts[k].rfind(test.alerts[k] + " at ", 0), 0u) << log;
      const std::string environment = readText(out.file("environment.txt"));
      EXPECT_NE(environment.find("|ES_SPX|ZG|5868.82|5868.50|cross|down|2026-"), std::string::npos) << environment;
      continue;
    }
    EXPECT_EQ(alerts.size(), 6u) << log;
    const std::vector<std::string> started = linesOf(readText(ids));
    EXPECT_EQ(started.size(), 8u) << log;  // four programs and their children
    EXPECT_NE(log.find("Host: --on-alert: 4 programs started on earlier alerts still run"), std::string::npos) << log;
    for (int wait = 0; wait < 100 && runningOf(started) > 0; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(runningOf(started), 0) << readText(ids);
  }
}

// A second interrupt ends the run there and then, and with it the programs
// its alerts started, which no grace at the run's end will reach.
TEST_F(ChartAlerts, ASecondInterruptEndsTheProgramsTheAlertsStarted) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  live_test::BackgroundProgram chart(TARVIO_CHART_PATH,
      {"--bars", stillBars(), "--real-clock", "30", "--service-address", "127.0.0.1:" + std::to_string(standin.port()),
       "--ca-file", standin.certificatePath(), "--api-key", kApiKey, "--set", "Request Start Time=00:00", "--set",
       "Request End Time=23:59", "--alert", "cross", "--on-alert", hangingScript(), "--status", out.file("status.json"),
       "--quiet"},
      out.file("stderr.txt"));
  waitForStatus("\"ZG\"");
  std::ofstream(out.file("live.csv"), std::ios::app) << "2026-03-02 09:30:00,5860,5870,5860,5869.5,100\n";
  for (int wait = 0; wait < 500 && linesOf(readText(out.file("ids.txt"))).size() < 2; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const std::vector<std::string> started = linesOf(readText(out.file("ids.txt")));
  ASSERT_EQ(started.size(), 2u) << chart.standardError();
  chart.requestStop();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  chart.requestStop();
  EXPECT_EQ(chart.waitForExit(5), -1) << "ended by the signal, not by the run's end";
  for (int wait = 0; wait < 50 && runningOf(started) > 0; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(runningOf(started), 0) << readText(out.file("ids.txt"));
}

}  // namespace
