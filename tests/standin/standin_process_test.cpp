// The stand-in as a program: its command line, the ready line, and real
// HTTPS exchanges with libcurl trusting the certificate it wrote.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>
#include <string>

#include "support/standin_process.h"

namespace standin_test {
namespace {

constexpr const char* kNow = "1772463600";  // 2026-03-02 15:00 UTC
constexpr const char* kProfileKey = "Authorization: Basic standin-key";
constexpr const char* kFuturesKey = "Authorization: Bearer standin-key";

Fetched get(const StandinProcess& standin, const std::string& path, std::vector<std::string> headers = {kProfileKey}) {
  return fetch({standin.url(path), std::move(headers), nullptr, standin.certificatePath()});
}

Fetched postHistory(const StandinProcess& standin, const char* body) {
  return fetch({standin.url("/v2/sierra/hist/SPX/classic/gex_full/majors/7"),
                {kProfileKey, "Content-Type: application/json"}, body, standin.certificatePath()});
}

rapidjson::Document parsed(const std::string& text) {
  rapidjson::Document document;
  document.Parse(text.c_str(), text.size());
  return document;
}

int lineCount(const std::string& text) {
  int lines = 0;
  for (const char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

TEST(StandinProcess, PrintsTheReadyLineAndWritesThePortFileAndStopsCleanly) {
  StandinProcess standin;
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  EXPECT_EQ(standin.readyLine(), "tarvio-standin listening on https://127.0.0.1:" + std::to_string(standin.port()));
  EXPECT_EQ(readFile(standin.scratch().file("port")), std::to_string(standin.port()) + "\n");
  EXPECT_NE(readFile(standin.certificatePath()).find("-----BEGIN CERTIFICATE-----"), std::string::npos);
  EXPECT_EQ(standin.stop(), 0) << standin.standardError();
}

TEST(StandinProcess, AcceptsTheRightKeysAndRefusesOthers) {
  StandinProcess standin({"--api-key", "k-123", "--now", kNow});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const Fetched accepted = get(standin, "/v2/sierra/ES_SPX/classic/full", {"Authorization: Basic k-123"});
  ASSERT_EQ(accepted.curl_code, 0);
  EXPECT_TRUE(parsed(accepted.body).HasMember("timestamp"));

  for (const char* wrong : {"Authorization: Basic standin-key", "Authorization: Bearer k-123"}) {
    const Fetched refused = get(standin, "/v2/sierra/ES_SPX/classic/full", {wrong});
    EXPECT_EQ(refused.status, 200);
    EXPECT_EQ(refused.body, R"({"message":"ERROR: Invalid API Key."})");
  }
  const Fetched missing = postHistory(standin, R"({"start": 1772461800, "end": 1772463600})");
  EXPECT_EQ(missing.status, 200);  // postHistory sends the default key, which is wrong here
  EXPECT_EQ(missing.body, R"({"message":"ERROR: Invalid API Key."})");

  const std::string futures = "/v2/futures/conversion?ticker=es_spx&future=ES&model=additive";
  EXPECT_EQ(get(standin, futures, {"Authorization: Bearer k-123"}).status, 200);
  const Fetched refused_futures = get(standin, futures, {"Authorization: Basic k-123"});
  EXPECT_EQ(refused_futures.status, 401);
  EXPECT_EQ(refused_futures.body, R"({"error":"Invalid API Key."})");
}

TEST(StandinProcess, AnswersEachEndpointInTheServiceFormat) {
  StandinProcess standin({"--now", kNow});
  ASSERT_TRUE(standin.ready()) << standin.standardError();

  // Through the service's host name, as the study's host sends it.
  const Fetched gex = fetch({"https://api.tarvio.com/v2/sierra/ES_SPX/classic/full", {kProfileKey}, nullptr,
                             standin.certificatePath(), 5, standin.port()});
  ASSERT_EQ(gex.curl_code, 0);
  const rapidjson::Document profile = parsed(gex.body);
  ASSERT_TRUE(profile.IsObject()) << gex.body.substr(0, 200);
  EXPECT_EQ(profile["timestamp"].GetInt(), 1772463600);
  for (const char* key : {"spot", "zero_gamma", "major_pos_vol", "major_pos_oi", "major_neg_vol", "major_neg_oi",
                          "sum_gex_vol", "sum_gex_oi", "delta_risk_reversal"}) {
    EXPECT_TRUE(profile[key].IsNumber()) << key;
  }
  ASSERT_GE(profile["strikes"].Size(), 80u);
  EXPECT_EQ(profile["strikes"][0][3].Size(), 5u);
  EXPECT_EQ(profile["max_priors"].Size(), 5u);

  const Fetched delta = get(standin, "/v2/sierra/NDX/state/delta_one");
  const rapidjson::Document greek = parsed(delta.body);
  ASSERT_TRUE(greek.IsObject());
  EXPECT_TRUE(greek["major_long_gamma"].IsNumber());
  ASSERT_GE(greek["mini_contracts"].Size(), 80u);
  EXPECT_EQ(greek["mini_contracts"][0].Size(), 5u);
  EXPECT_EQ(greek["mini_contracts"][0][4].Size(), 3u);

  const Fetched history = postHistory(standin, R"({"start": 1772461800, "end": 1772470000})");
  const rapidjson::Document snapshots = parsed(history.body);
  ASSERT_TRUE(snapshots.IsArray()) << history.body.substr(0, 200);
  EXPECT_EQ(snapshots.Size(), 31u);  // 14:30 to 15:00, cut at the fixed now
  for (const auto& snapshot : snapshots.GetArray()) {
    EXPECT_GE(snapshot["timestamp"].GetInt64(), 1772461800);
    EXPECT_LE(snapshot["timestamp"].GetInt64(), 1772463600);
    EXPECT_TRUE(snapshot["major_call_gamma"].IsNumber() && snapshot["major_put_gamma"].IsNumber() &&
                snapshot["zero_gamma"].IsNumber());
  }
  EXPECT_EQ(postHistory(standin, R"({"start": "soon"})").status, 400);

  const Fetched conversion =
      get(standin, "/v2/futures/conversion?ticker=es_spx&future=ES&model=additive", {kFuturesKey});
  const rapidjson::Document quote = parsed(conversion.body);
  ASSERT_TRUE(quote.IsObject()) << conversion.body;
  EXPECT_STREQ(quote["future_contract"].GetString(), "ESH6");
  EXPECT_EQ(quote["multiplier"].GetDouble(), 1.0);
  EXPECT_GT(quote["additive"].GetDouble(), 0.0);

  const Fetched unknown = get(standin, "/v2/sierra/ES_SPX/classic");
  EXPECT_EQ(unknown.status, 404);
  EXPECT_EQ(unknown.body, R"({"error":"not found"})");
  EXPECT_EQ(standin.stop(), 0) << standin.standardError();
}

TEST(StandinProcess, ServesFaultsOnDemand) {
  struct Case {
    const char* mode;
    bool transfer_fails;
    long status;
    const char* body;
  };
  for (const Case& c : {Case{"http500", false, 500, "Internal Server Error\n"}, Case{"empty", false, 200, ""},
                        Case{"truncated", true, 0, nullptr}, Case{"close", true, 0, nullptr}}) {
    StandinProcess standin({"--fault", c.mode, "--now", kNow});
    ASSERT_TRUE(standin.ready()) << standin.standardError();
    const Fetched answer = get(standin, "/v2/sierra/ES_SPX/classic/full");
    if (c.transfer_fails) {
      EXPECT_NE(answer.curl_code, 0) << c.mode;
    } else {
      EXPECT_EQ(answer.curl_code, 0) << c.mode;
      EXPECT_EQ(answer.status, c.status) << c.mode;
      EXPECT_EQ(answer.body, c.body) << c.mode;
    }
    EXPECT_EQ(standin.stop(), 0) << c.mode;
    EXPECT_NE(standin.standardError().find(std::string("fault=") + c.mode), std::string::npos) << c.mode;
  }
}

TEST(StandinProcess, ASlowAnswerHoldsUpOnlyItsOwnConnection) {
  StandinProcess standin({"--fault", "slow", "--slow-seconds", "1", "--fault-endpoint", "futures"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const auto started = std::chrono::steady_clock::now();
  auto slow = std::async(std::launch::async, [&] {
    return get(standin, "/v2/futures/conversion?ticker=spx&future=ES&model=additive", {kFuturesKey});
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const Fetched quick = get(standin, "/v2/sierra/SPX/classic/zero");
  EXPECT_EQ(quick.curl_code, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900));
  const Fetched late = slow.get();
  EXPECT_EQ(late.curl_code, 0);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_NE(late.body.find("future_contract"), std::string::npos);
}

std::vector<std::string> faultsInLog(const std::string& log) {
  std::vector<std::string> faults;
  for (size_t at = log.find("fault="); at != std::string::npos; at = log.find("fault=", at + 1)) {
    faults.push_back(log.substr(at + 6, log.find('\n', at) - at - 6));
  }
  return faults;
}

TEST(StandinProcess, DrawsRandomFaultsReproduciblyAndLogsEachOne) {
  std::vector<std::vector<std::string>> runs;
  for (int run = 0; run < 2; ++run) {
    StandinProcess standin({"--fault", "random", "--fault-rate", "0.8", "--seed", "9", "--slow-seconds", "0.05",
                            "--fault-endpoint", "profile"});
    ASSERT_TRUE(standin.ready()) << standin.standardError();
    for (int i = 0; i < 8; ++i) get(standin, "/v2/sierra/SPX/classic/one");
    get(standin, "/v2/futures/conversion?ticker=spx&future=ES&model=affine", {kFuturesKey});
    EXPECT_EQ(standin.stop(), 0);
    runs.push_back(faultsInLog(standin.standardError()));
    ASSERT_EQ(runs.back().size(), 9u) << standin.standardError();
    EXPECT_EQ(runs.back().back(), "none");  // faults are for the profile only
  }
  EXPECT_EQ(runs[0], runs[1]);
  EXPECT_GE(std::count(runs[0].begin(), runs[0].end(), "none"), 1);
  EXPECT_LE(std::count(runs[0].begin(), runs[0].end(), "none"), 5);
}

// Waits until the stand-in has logged `count` exchanges (at most 10 s): the
// log line is written once the request is counted, before its answer waits.
bool waitForLoggedExchanges(const StandinProcess& standin, size_t count) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (faultsInLog(standin.standardError()).size() < count) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

struct TimedFetch {
  Fetched fetched;
  double seconds = 0;
  std::chrono::steady_clock::time_point done;
};

TimedFetch timedGet(const StandinProcess& standin, const std::string& path, const char* key = kProfileKey) {
  const auto started = std::chrono::steady_clock::now();
  TimedFetch timed;
  timed.fetched = fetch({standin.url(path), {key}, nullptr, standin.certificatePath(), 60});
  timed.done = std::chrono::steady_clock::now();
  timed.seconds = std::chrono::duration<double>(timed.done - started).count();
  return timed;
}

// One run meets a fault schedule and uneven delays: each profile request
// gets its entry's answer, the futures request is neither counted nor
// delayed, and the long-delayed first answer holds up no other connection.
// Timings are checked only against their delay and ten times it.
TEST(StandinProcess, ServesAScheduleOfFaultsAndDelays) {
  StandinProcess standin({"--now", kNow, "--fault-endpoint", "profile", "--fault-schedule", "2:http500,4:close",
                          "--delay-schedule", "1:3,3:0.8,4:0.4"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::string profile = "/v2/sierra/SPX/classic/full";
  auto first = std::async(std::launch::async, [&] { return timedGet(standin, profile); });
  ASSERT_TRUE(waitForLoggedExchanges(standin, 1)) << standin.standardError();

  const TimedFetch futures =
      timedGet(standin, "/v2/futures/conversion?ticker=spx&future=ES&model=additive", kFuturesKey);
  EXPECT_EQ(futures.fetched.status, 200);
  std::chrono::steady_clock::time_point second_done;
  const struct {
    long status;  // 0: the transfer fails
    double delay_s;
  } expected[] = {{500, 0}, {200, 0.8}, {0, 0.4}, {200, 0}};  // the 2nd to the 5th request
  for (const auto& e : expected) {
    const TimedFetch got = timedGet(standin, profile);
    second_done = e.status == 500 ? got.done : second_done;
    EXPECT_EQ(got.fetched.curl_code == 0, e.status != 0) << e.status << " " << e.delay_s;
    EXPECT_EQ(e.status == 0 ? 0L : got.fetched.status, e.status);
    EXPECT_GE(got.seconds, e.delay_s) << e.status;
    EXPECT_LT(got.seconds, 10 * std::max(e.delay_s, 1.0)) << e.status;
  }
  const TimedFetch late = first.get();
  EXPECT_EQ(late.fetched.curl_code, 0);
  EXPECT_EQ(late.fetched.status, 200);
  EXPECT_GE(late.seconds, 3.0);
  EXPECT_LT(late.seconds, 30.0);
  EXPECT_LT(second_done, late.done);  // answered while the first one waited
  EXPECT_EQ(standin.stop(), 0);
  EXPECT_EQ(faultsInLog(standin.standardError()),
            (std::vector<std::string>{"none", "none", "http500", "none", "close", "none"}))
      << standin.standardError();
}

TEST(StandinProcess, StopsWithoutWaitingForADelayedAnswer) {
  StandinProcess standin({"--delay-schedule", "1:60"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const auto started = std::chrono::steady_clock::now();
  auto delayed = std::async(std::launch::async, [&] { return timedGet(standin, "/v2/sierra/SPX/classic/zero"); });
  ASSERT_TRUE(waitForLoggedExchanges(standin, 1)) << standin.standardError();
  EXPECT_EQ(standin.stop(), 0);  // -1 when it did not exit within its few seconds
  EXPECT_NE(delayed.get().fetched.curl_code, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

TEST(StandinProcess, RefusesABodyOverOneMebibyte) {
  StandinProcess standin;
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::string large(1024 * 1024 + 1, ' ');
  EXPECT_EQ(postHistory(standin, large.c_str()).status, 413);
  EXPECT_EQ(postHistory(standin, R"({"start": 0, "end": 60})").status, 200);
}

TEST(StandinProcess, ReplaysFilesByteForByte) {
  ScratchFolder files;
  const std::string odd_bytes("{\"timestamp\": 1,\r\n \"x\": \"\xff\0\"}", 27);
  std::ofstream(files.file("profile.json"), std::ios::binary) << odd_bytes;
  std::filesystem::create_directory(files.file("history"));
  std::ofstream(files.file("history/02.json"), std::ios::binary) << "[2]";
  std::ofstream(files.file("history/01.json"), std::ios::binary) << "[1]";

  StandinProcess standin({"--replay", "profile=" + files.file("profile.json"), "--replay",
                          "history=" + files.file("history")});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  EXPECT_EQ(get(standin, "/v2/sierra/SPX/state/gamma").body, odd_bytes);
  EXPECT_EQ(get(standin, "/v2/sierra/SPX/classic/one").body, odd_bytes);
  EXPECT_EQ(get(standin, "/v2/sierra/SPX/classic/full", {}).body, R"({"message":"ERROR: Invalid API Key."})");
  for (const char* expected : {"[1]", "[2]", "[2]"}) {
    EXPECT_EQ(postHistory(standin, R"({"start": 0, "end": 60})").body, expected);
  }
}

TEST(StandinProcess, RecordsEachRequestAsOneJsonLine) {
  ScratchFolder files;
  StandinProcess standin({"--record", files.file("record.jsonl"), "--fault", "error", "--fault-endpoint", "history"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  get(standin, "/v2/futures/conversion?ticker=spx&future=ES&model=affine", {kFuturesKey, "X-First: 1", "X-Second: 2"});
  postHistory(standin, R"({"start": 1, "end": 2})");
  const std::string record = readFile(files.file("record.jsonl"));
  ASSERT_EQ(lineCount(record), 2) << record;

  const rapidjson::Document first = parsed(record.substr(0, record.find('\n')));
  ASSERT_TRUE(first.IsObject()) << record;
  EXPECT_STREQ(first["method"].GetString(), "GET");
  EXPECT_STREQ(first["path"].GetString(), "/v2/futures/conversion?ticker=spx&future=ES&model=affine");
  EXPECT_STREQ(first["fault"].GetString(), "none");
  std::vector<std::string> names;
  for (const auto& header : first["headers"].GetArray()) names.push_back(header[0].GetString());
  const auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  EXPECT_LT(at("Authorization"), at("X-First"));
  EXPECT_LT(at("X-First"), at("X-Second"));
  EXPECT_LT(at("X-Second"), static_cast<long>(names.size()));

  const rapidjson::Document second = parsed(record.substr(record.find('\n') + 1));
  ASSERT_TRUE(second.IsObject()) << record;
  EXPECT_STREQ(second["method"].GetString(), "POST");
  EXPECT_STREQ(second["body"].GetString(), R"({"start": 1, "end": 2})");
  EXPECT_STREQ(second["fault"].GetString(), "error");
}

TEST(StandinProcess, StopsByItselfAfterMaxSeconds) {
  const ProcessResult result = runToEnd({"--port", "0", "--max-seconds", "0.3"});
  EXPECT_EQ(result.exit_status, 0) << result.standard_error;
  EXPECT_EQ(lineCount(result.standard_output), 1);
}

TEST(StandinProcess, RefusesABadCommandLineWithOneLineAndStatus2) {
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"--port", "70000"},
                                             {"--bogus"},
                                             {"--fault", "sometimes"},
                                             {"--address", "10.0.0.1"},
                                             {"--cert", "/nonexistent/cert.pem", "--key", "/nonexistent/key.pem"},
                                             {"--replay", "profile=/nonexistent/answers"}}) {
    const ProcessResult result = runToEnd(arguments);
    EXPECT_EQ(result.exit_status, 2) << arguments[0];
    EXPECT_EQ(lineCount(result.standard_error), 1) << result.standard_error;
    EXPECT_NE(result.standard_error.find(arguments[0]), std::string::npos) << result.standard_error;
    EXPECT_EQ(result.standard_output, "") << arguments[0];
  }
}

}  // namespace
}  // namespace standin_test
