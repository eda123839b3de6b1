// How old everything on the chart is, on the real clock, as a trader leaving
// tarvio-chart running meets it: a bars file whose writer appends its forming
// bar again, writes a line out of order and then stops (the price goes STALE
// and holds the alerts) while the service sends one old snapshot again and
// again (the levels go STALE by its own time); then a service clock ahead of
// ours, with a failed transfer and a refused answer, each told on its first
// call and cleared by the recovery. The status file is read after every call.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "integration/background_program.h"
#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::linesWith;
using test_text::readText;

constexpr const char* kKey = "ages-key-Tq83Lm";

// "2026-12-08T14:30:02Z" for `seconds` from now, as a bars file writes UTC.
std::string utcTime(int64_t seconds) {
  const std::time_t at = std::time(nullptr) + seconds;
  std::tm parts{};
  gmtime_r(&at, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

std::string barLine(const std::string& time, double close) {
  return time + ",5860,5870,5850," + std::to_string(close) + ",100\n";
}

// A chart on the real clock against the stand-in; every status it writes
// is kept by its call number, read every few milliseconds while the test waits.
class LiveChart {
 public:
  LiveChart(const StandinProcess& standin, double seconds, const std::vector<std::string>& more)
      : program_(TARVIO_CHART_PATH, argumentsOf(standin, seconds, more), out.file("stderr.txt")) {}

  // True once `ready` holds for the newest status; false when the run ends first.
  template <typename Ready>
  bool waitFor(Ready ready) {
    for (;;) {
      const bool ended = program_.ended();
      rapidjson::Document status;
      status.Parse(readText(out.file("status.json")).c_str());
      if (status.IsObject() && status.HasMember("calls")) {
        const int calls = status["calls"].GetInt();
        if (!statuses.count(calls)) statuses[calls] = std::move(status);
        if (ready(statuses[calls])) return true;
      }
      if (ended) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // Reads to the run's end; its exit status.
  int finish() {
    waitFor([](const rapidjson::Value&) { return false; });
    return program_.waitForExit(5);
  }
  std::string standardError() const { return program_.standardError(); }

  ScratchFolder out;
  std::map<int, rapidjson::Document> statuses;  // by "calls"

 private:
  std::vector<std::string> argumentsOf(const StandinProcess& standin, double seconds,
                                       const std::vector<std::string>& more) {
    std::vector<std::string> arguments = {
        "--real-clock", std::to_string(seconds), "--service-address", "127.0.0.1:" + std::to_string(standin.port()),
        "--ca-file", standin.certificatePath(), "--api-key", kKey, "--set", "Request Start Time=00:00",
        "--set", "Request End Time=23:59", "--set", "Request Interval=1", "--status", out.file("status.json"),
        "--log", out.file("log.txt"), "--no-progress"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
  }

  live_test::BackgroundProgram program_;
};

std::string textOf(const rapidjson::Value& value) { return value.IsString() ? value.GetString() : "null"; }

// The stand-in sends one snapshot of ten minutes ago again and again.
TEST(ChartAges, BarsThatStopMovingMakeThePriceStaleAndAnOldSnapshotTheLevels) {
  StandinProcess standin({"--api-key", kKey, "--now", std::to_string(std::time(nullptr) - 600)});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder files;
  const std::string bars = files.file("bars.csv");
  // Bars two seconds apart: the price is STALE after six still seconds.
  const std::string newest = utcTime(0);
  const std::string next = utcTime(2);
  std::ofstream(bars) << "datetime,open,high,low,close,volume\n"
                      << barLine(utcTime(-6), 5860) << barLine(utcTime(-4), 5861) << barLine(utcTime(-2), 5862)
                      << barLine(newest, 5863);
  LiveChart chart(standin, 16, {"--bars", bars, "--alert", "cross", "--stale-after", "300"});
  ASSERT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["calls"].GetInt() >= 2; }))
      << chart.standardError();

  // The writer appends the forming bar again with its new close.
  std::ofstream(bars, std::ios::app) << barLine(newest, 5864.5);
  EXPECT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["lastPrice"].GetDouble() == 5864.5; }));
  // A line out of order, then a new bar.
  std::ofstream(bars, std::ios::app) << barLine(utcTime(-30), 5855) << barLine(next, 5866);
  EXPECT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["lastPrice"].GetDouble() == 5866; }));
  EXPECT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["priceStale"].GetBool(); }))
      << "the bars stopped moving";
  ASSERT_EQ(chart.finish(), 0) << chart.standardError();

  const rapidjson::Document& last = chart.statuses.rbegin()->second;
  EXPECT_STREQ(last["priceWarning"].GetString(), "PRICE STALE");
  EXPECT_EQ(textOf(last["alertsHeld"]).rfind("the price is STALE: the bars have not moved since ", 0), 0u)
      << textOf(last["alertsHeld"]);
  EXPECT_NE(textOf(last["barsWarning"]).find("bars.csv:7: a bar of "), std::string::npos) << textOf(last["barsWarning"]);
  const std::string log = readText(chart.out.file("log.txt"));
  EXPECT_EQ(linesWith(log, "bars.csv:7: a bar of ").size(), 1u) << log;
  EXPECT_EQ(last["levelAlerts"].GetInt(), static_cast<int>(linesWith(log, "ALERT Host:").size())) << log;
  EXPECT_STREQ(last["levelsAgeFrom"].GetString(), "service");
  EXPECT_GE(last["ageSeconds"].GetInt(), 600);
  EXPECT_STREQ(last["warning"].GetString(), "STALE");
  EXPECT_NE(textOf(last["staleReason"]).find("by its own time, more than the 300 s --stale-after allows"),
            std::string::npos)
      << textOf(last["staleReason"]);
}

// The stand-in's clock an hour ahead: every answer dated in our future. The
// second profile request is refused with an HTTP 500, the third's transfer
// cut, the rest answered.
TEST(ChartAges, AnOutageIsToldOnItsFirstCallAndClearedByTheRecoveryAndAClockAheadCountsAsNoAge) {
  StandinProcess standin({"--api-key", kKey, "--now", std::to_string(std::time(nullptr) + 3600), "--fault-schedule",
                          "3:http500,4:close"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  LiveChart chart(standin, 12, {});
  ASSERT_EQ(chart.finish(), 0) << chart.standardError();

  const auto firstWhere = [&](const char* count, int value) -> const rapidjson::Value* {
    for (const auto& [calls, status] : chart.statuses)
      if (status[count].GetInt() == value) return &status;
    return nullptr;
  };
  const rapidjson::Value* refused = firstWhere("refusals", 1);
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(textOf((*refused)["notice"]).rfind("the service refused its answers since ", 0), 0u)
      << textOf((*refused)["notice"]);
  EXPECT_STREQ((*refused)["lastErrorAt"].GetString(), (*refused)["now"].GetString()) << "told on its first call";
  const rapidjson::Value* failed = firstWhere("failedTransfers", 1);
  ASSERT_NE(failed, nullptr);
  EXPECT_EQ(textOf((*failed)["notice"]).rfind("no answer from the service since ", 0), 0u)
      << textOf((*failed)["notice"]);
  EXPECT_EQ((*failed)["levels"].Size(), 0u);
  EXPECT_STREQ((*failed)["lastErrorAt"].GetString(), (*failed)["now"].GetString());
  const rapidjson::Value* recovered = firstWhere("answers", (*failed)["answers"].GetInt() + 1);
  ASSERT_NE(recovered, nullptr) << "no answer after the cut transfer\n" << chart.standardError();
  EXPECT_TRUE((*recovered)["notice"].IsNull()) << textOf((*recovered)["notice"]);
  EXPECT_TRUE((*recovered)["lastError"].IsNull() && (*recovered)["lastErrorAt"].IsNull());
  EXPECT_EQ((*recovered)["ageSeconds"].GetInt(), 0);
  EXPECT_STREQ((*recovered)["levelsAgeFrom"].GetString(), "service");

  const std::string log = readText(chart.out.file("log.txt"));
  EXPECT_EQ(linesWith(log, "the service's clock is ").size(), 1u) << log;
}

}  // namespace
