// How old everything on the chart is, on the real clock, as a trader leaving
// tarvio-chart running meets it: a bars file whose writer appends its forming
// bar again, writes a line out of order and then stops (the price goes STALE
// and holds the alerts); a service that sends one old snapshot again and
// again (the levels go STALE by its own time); a service clock ahead of ours;
// and a failed transfer and a refused answer, each told on its first call and
// cleared by the recovery. Each run lasts seconds; its status file is read
// after every call.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using standin_test::ProcessResult;
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

// A chart on the real clock against the stand-in, in a thread; every status
// it writes is kept by its call number, read every few milliseconds as the
// run goes.
class LiveChart {
 public:
  LiveChart(const StandinProcess& standin, double seconds, std::vector<std::string> more) {
    std::vector<std::string> arguments = {
        "--real-clock", std::to_string(seconds), "--service-address", "127.0.0.1:" + std::to_string(standin.port()),
        "--ca-file", standin.certificatePath(), "--api-key", kKey, "--set", "Request Start Time=00:00",
        "--set", "Request End Time=23:59", "--set", "Request Interval=1", "--status", out.file("status.json"),
        "--log", out.file("log.txt"), "--no-progress"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    runner_ = std::thread([this, arguments] {
      result = standin_test::runProgram(TARVIO_CHART_PATH, arguments, 120);
      done_ = true;
    });
    reader_ = std::thread([this] {
      while (!done_) {
        keepLatest();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      keepLatest();
    });
  }
  ~LiveChart() { finish(); }

  // True once `ready` holds for the latest status; false after 20 s or when
  // the run ended without it.
  template <typename Ready>
  bool waitFor(Ready ready) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < giveUp) {
      const bool ended = done_;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!statuses.empty() && ready(statuses.rbegin()->second)) return true;
      }
      if (ended) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  // Waits for the run's end; `statuses` is whole from then on.
  void finish() {
    if (runner_.joinable()) runner_.join();
    if (reader_.joinable()) reader_.join();
  }

  ScratchFolder out;
  ProcessResult result;
  std::map<int, rapidjson::Document> statuses;  // by "calls"

 private:
  void keepLatest() {
    rapidjson::Document status;
    status.Parse(readText(out.file("status.json")).c_str());
    if (!status.IsObject() || !status.HasMember("calls")) return;
    const int calls = status["calls"].GetInt();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!statuses.count(calls)) statuses[calls] = std::move(status);
  }

  std::mutex mutex_;
  std::atomic<bool> done_{false};
  std::thread runner_;
  std::thread reader_;
};

std::string textOf(const rapidjson::Value& value) { return value.IsString() ? value.GetString() : "null"; }

TEST(ChartAges, BarsThatStopMovingMakeThePriceStaleAndHoldTheAlertsAfterALineReplacedAndOneSkipped) {
  StandinProcess standin({"--api-key", kKey});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder files;
  const std::string bars = files.file("bars.csv");
  // Bars two seconds apart: the price is STALE after six still seconds.
  const std::string newest = utcTime(0);
  const std::string next = utcTime(2);
  std::ofstream(bars) << "datetime,open,high,low,close,volume\n"
                      << barLine(utcTime(-6), 5860) << barLine(utcTime(-4), 5861) << barLine(utcTime(-2), 5862)
                      << barLine(newest, 5863);
  LiveChart chart(standin, 16, {"--bars", bars, "--alert", "cross"});
  ASSERT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["calls"].GetInt() >= 2; }))
      << chart.result.standard_error;

  // The writer appends the forming bar again with its new close.
  std::ofstream(bars, std::ios::app) << barLine(newest, 5864.5);
  EXPECT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["lastPrice"].GetDouble() == 5864.5; }));
  // A line out of order, then a new bar.
  std::ofstream(bars, std::ios::app) << barLine(utcTime(-30), 5855) << barLine(next, 5866);
  EXPECT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["lastPrice"].GetDouble() == 5866; }));
  EXPECT_TRUE(chart.waitFor([](const rapidjson::Value& s) { return s["priceStale"].GetBool(); }))
      << "the bars stopped moving";
  chart.finish();
  ASSERT_EQ(chart.result.exit_status, 0) << chart.result.standard_error;

  const rapidjson::Document& last = chart.statuses.rbegin()->second;
  EXPECT_STREQ(last["priceWarning"].GetString(), "PRICE STALE");
  EXPECT_EQ(textOf(last["alertsHeld"]).rfind("the price is STALE: the bars have not moved since ", 0), 0u)
      << textOf(last["alertsHeld"]);
  EXPECT_NE(textOf(last["barsWarning"]).find("bars.csv:7: a bar of "), std::string::npos) << textOf(last["barsWarning"]);
  const std::string log = readText(chart.out.file("log.txt"));
  EXPECT_EQ(linesWith(log, "bars.csv:7: a bar of ").size(), 1u) << log;
  EXPECT_EQ(last["levelAlerts"].GetInt(), static_cast<int>(linesWith(log, "ALERT Host:").size())) << log;
  EXPECT_NE(textOf(last["dataAge"]).find("(service time)"), std::string::npos) << textOf(last["dataAge"]);
  EXPECT_STREQ(last["levelsAgeFrom"].GetString(), "service");
}

TEST(ChartAges, AnOldSnapshotSentAgainAndAgainIsStaleByTheServicesOwnTime) {
  StandinProcess standin({"--api-key", kKey, "--now", std::to_string(std::time(nullptr) - 600)});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  LiveChart chart(standin, 4, {"--stale-after", "300"});
  chart.finish();
  ASSERT_EQ(chart.result.exit_status, 0) << chart.result.standard_error;
  const rapidjson::Document& last = chart.statuses.rbegin()->second;
  EXPECT_TRUE(last["stale"].GetBool());
  EXPECT_STREQ(last["warning"].GetString(), "STALE");
  EXPECT_GE(last["ageSeconds"].GetInt(), 600);
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
  chart.finish();
  ASSERT_EQ(chart.result.exit_status, 0) << chart.result.standard_error;

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
  std::string seen;
  for (const auto& [calls, status] : chart.statuses)
    seen += std::to_string(calls) + ": " + std::to_string(status["answers"].GetInt()) + " answers, " +
            textOf(status["notice"]) + "\n";
  ASSERT_NE(recovered, nullptr) << "no answer after the cut transfer:\n" << seen << chart.result.standard_error;
  EXPECT_TRUE((*recovered)["notice"].IsNull()) << textOf((*recovered)["notice"]);
  EXPECT_TRUE((*recovered)["lastError"].IsNull() && (*recovered)["lastErrorAt"].IsNull());
  EXPECT_EQ((*recovered)["ageSeconds"].GetInt(), 0);
  EXPECT_STREQ((*recovered)["levelsAgeFrom"].GetString(), "service");

  const std::string log = readText(chart.out.file("log.txt"));
  EXPECT_EQ(linesWith(log, "the service's clock is ").size(), 1u) << log;
}

}  // namespace
