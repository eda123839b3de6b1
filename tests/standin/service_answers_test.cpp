// The answers that are not profiles: the majors history window and its
// snapshots, and the futures conversion's contract and parameters.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cmath>

#include "tools/standin/futures_quote.h"
#include "tools/standin/majors_history.h"
#include "standin/market_time.h"

namespace standin {
namespace {

std::string problemOf(std::string_view body) {
  auto window = parseHistoryWindow(body);
  return std::holds_alternative<std::string>(window) ? std::get<std::string>(window) : "";
}

TEST(HistoryWindow, TakesIntegerStartAndEnd) {
  const auto window = parseHistoryWindow(R"({"start": 1772461800, "end": 1772485200})");
  ASSERT_TRUE(std::holds_alternative<HistoryWindow>(window));
  EXPECT_EQ(std::get<HistoryWindow>(window).start, 1772461800);
  EXPECT_EQ(std::get<HistoryWindow>(window).end, 1772485200);
  EXPECT_EQ(problemOf("{\"start\": 1, \"end\": 2, \"other\": true}"), "");
}

TEST(HistoryWindow, RefusesBodiesThatAreNotAWindow) {
  EXPECT_EQ(problemOf(""), "body is not valid JSON");
  EXPECT_EQ(problemOf("{\"start\": 1, \"end\": 2} x"), "body is not valid JSON");
  EXPECT_EQ(problemOf("[1, 2]"), "body is not a JSON object");
  EXPECT_NE(problemOf("{\"start\": 1.5, \"end\": 2}").find("\"start\""), std::string::npos);
  EXPECT_NE(problemOf("{\"start\": 1}").find("\"end\""), std::string::npos);
  EXPECT_NE(problemOf("{\"start\": \"1\", \"end\": 2}").find("\"start\""), std::string::npos);
  EXPECT_NE(problemOf("{\"start\": 5, \"end\": 2}").find("before"), std::string::npos);
}

TEST(HistoryWindow, HasOneSnapshotPerWholeMinuteUpToNow) {
  auto times = std::get<std::vector<int64_t>>(historyTimes({kNow - 601, kNow + 3600}, kNow));
  ASSERT_EQ(times.size(), 11u);
  EXPECT_EQ(times.front(), kNow - 600);
  EXPECT_EQ(times.back(), kNow);
  EXPECT_TRUE(std::get<std::vector<int64_t>>(historyTimes({kNow + 60, kNow + 600}, kNow)).empty());
  EXPECT_EQ(std::get<std::vector<int64_t>>(historyTimes({-61, 0}, kNow)).front(), -60);
  EXPECT_TRUE(std::holds_alternative<std::string>(historyTimes({0, kNow}, kNow)));
}

TEST(HistoryWindow, AnswersAnArrayOfSnapshots) {
  const HistoryAnswer answer = majorsHistoryAnswer(MarketModel(0), "SPX", {kNow - 300, kNow}, kNow);
  ASSERT_EQ(answer.problem, "");
  rapidjson::Document document;
  document.Parse(answer.body.c_str());
  ASSERT_TRUE(document.IsArray());
  ASSERT_EQ(document.Size(), 6u);
  for (const auto& snapshot : document.GetArray()) {
    EXPECT_TRUE(snapshot["timestamp"].IsInt64());
    EXPECT_NEAR(snapshot["zero_gamma"].GetDouble(), 5800, 600);
    EXPECT_TRUE(snapshot["major_call_gamma"].IsNumber());
    EXPECT_TRUE(snapshot["major_put_gamma"].IsNumber());
  }
  EXPECT_NE(majorsHistoryAnswer(MarketModel(0), "SPX", {0, kNow}, kNow).problem, "");
}

TEST(FuturesQuote, NamesTheFrontQuarterlyContract) {
  EXPECT_EQ(frontQuarterlyContract("ES", kNow), "ESH6");               // March 20 expiry, 18 days away
  EXPECT_EQ(frontQuarterlyContract("NQ", 1773705600), "NQM6");         // 2026-03-17: within the roll
  EXPECT_EQ(frontQuarterlyContract("MES", 1796860800), "MESZ6");       // 2026-12-10, eight days before
  EXPECT_EQ(frontQuarterlyContract("MES", 1797465600), "MESH7");       // 2026-12-17, the day before
  EXPECT_EQ(frontQuarterlyContract("ES", 1798675200), "ESH7");         // 2026-12-31
  EXPECT_EQ(frontQuarterlyContract("ESZ5", kNow), "ESZ5");             // already a contract
}

TEST(FuturesQuote, CarriesTheIndexByAnAdditiveOrAnAffineModel) {
  const MarketModel model(0);
  const auto additive = std::get<FuturesQuote>(futuresQuote(model, "es_spx", "ES", "additive", kNow));
  EXPECT_EQ(additive.multiplier, 1.0);
  EXPECT_GT(additive.additive, 1);
  EXPECT_LT(additive.additive, 60);
  const auto affine = std::get<FuturesQuote>(futuresQuote(model, "spy", "ES", "affine", kNow));
  EXPECT_GT(affine.multiplier, 1.0);
  EXPECT_LT(affine.multiplier, 1.01);
  EXPECT_LE(std::fabs(affine.additive), 1.0);
  EXPECT_EQ(futuresQuoteJson({"ESZ6", 1.0, 35.5}), R"({"future_contract":"ESZ6","multiplier":1,"additive":35.5})");
}

TEST(FuturesQuote, RefusesMissingOrUnknownQueryValues) {
  const MarketModel model(0);
  EXPECT_TRUE(std::holds_alternative<std::string>(futuresQuote(model, "", "ES", "additive", kNow)));
  EXPECT_TRUE(std::holds_alternative<std::string>(futuresQuote(model, "spx", "", "additive", kNow)));
  EXPECT_TRUE(std::holds_alternative<std::string>(futuresQuote(model, "spx", "ES", "linear", kNow)));
}

}  // namespace
}  // namespace standin
