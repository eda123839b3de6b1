// Which endpoint a request target names, and the reply the router gives:
// refusals, faults, replays and the computed answers.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <string>
#include <utility>

#include "tools/standin/endpoint.h"
#include "tools/standin/gex_snapshot.h"
#include "tools/standin/greek_snapshot.h"
#include "tools/standin/profile_json.h"
#include "tools/standin/request_router.h"
#include "standin/market_time.h"

namespace standin {
namespace {

TEST(RequestTarget, NamesTheThreeEndpoints) {
  struct Case {
    const char* target;
    Endpoint endpoint;
    const char* ticker;
    const char* package;
    const char* profile;
    const char* future;
    const char* model;
  };
  const Case cases[] = {
      {"/v2/sierra/ES_SPX/state/gamma_one", Endpoint::Profile, "ES_SPX", "state", "gamma_one", "", ""},
      {"/v2/sierra/hist/NDX/classic/gex_full/majors/7", Endpoint::History, "NDX", nullptr, nullptr, "", ""},
      {"/v2/futures/conversion?ticker=es_spx&future=ES&model=additive", Endpoint::Futures, "es_spx", nullptr,
       nullptr, "ES", "additive"},
  };
  for (const Case& c : cases) {
    const auto route = routeTarget(c.target);
    ASSERT_TRUE(route) << c.target;
    EXPECT_EQ(route->endpoint, c.endpoint) << c.target;
    EXPECT_EQ(route->ticker, c.ticker) << c.target;
    if (c.package != nullptr) {
      EXPECT_EQ(route->package, c.package) << c.target;
    }
    if (c.profile != nullptr) {
      EXPECT_EQ(route->profile, c.profile) << c.target;
    }
    EXPECT_EQ(route->future, c.future) << c.target;
    EXPECT_EQ(route->model, c.model) << c.target;
  }
}

TEST(RequestTarget, FindsNothingAtOtherPaths) {
  for (const char* target : {"/", "/v2/sierra/ES_SPX/classic", "/v2/sierra/ES_SPX/classic/full/",
                             "/v2/sierra/ES_SPX/premium/full", "/v2/sierra/ES_SPX/classic/vanna",
                             "/v2/sierra//classic/full", "/v2/sierra/hist/SPX/classic/gex_full/majors/8",
                             "/v1/sierra/SPX/classic/full", "/v2/futures/conversion/x", "v2/sierra/SPX/classic/full"}) {
    EXPECT_FALSE(routeTarget(target)) << target;
  }
}

TEST(RequestTarget, DecodesQueryValues) {
  EXPECT_EQ(queryValue("a=1&b=x%20y&b=2", "b"), "x y");
  EXPECT_EQ(queryValue("a=1&flag&c=%zz", "c"), "%zz");
  EXPECT_EQ(queryValue("a=1&flag", "flag"), "");
  EXPECT_EQ(queryValue("", "a"), "");
}

class RouterTest : public testing::Test {
 protected:
  Reply ask(const std::string& method, const std::string& target, const std::string& authorization,
            const std::string& body = "") {
    ReceivedRequest request;
    request.method = method;
    request.target = target;
    request.headers = {{"Accept", "application/json"}};
    if (!authorization.empty()) request.headers.emplace_back("authorization", authorization);
    request.body = body;
    return router.answer(request);
  }
  Reply profile(const std::string& path) { return ask("GET", path, "Basic key-1"); }

  MarketModel model{0};
  FaultPlan faults{FaultMode::None, 0, 0, std::nullopt};
  ReplayBook replays;
  RequestRouter router{model, ServiceSettings{"key-1", kNow, 12}, faults, replays};
};

TEST_F(RouterTest, AnswersProfilesByPackageAndWord) {
  rapidjson::Document document;
  document.Parse(profile("/v2/sierra/SPX/classic/zero").body.c_str());
  EXPECT_TRUE(document.HasMember("strikes"));
  EXPECT_EQ(document["timestamp"].GetInt(), kNow);
  document.Parse(profile("/v2/sierra/SPX/state/one").body.c_str());
  EXPECT_TRUE(document.HasMember("strikes"));
  document.Parse(profile("/v2/sierra/SPX/state/delta").body.c_str());
  EXPECT_TRUE(document.HasMember("mini_contracts"));

  const Reply wrong_package = profile("/v2/sierra/SPX/classic/gamma");
  EXPECT_EQ(wrong_package.status, 200);
  document.Parse(wrong_package.body.c_str());
  EXPECT_TRUE(document["error"].IsString());
}

// Each word answers from the expiries the study's "Greek" input names it by
// (90d agg, 0dte, 1dte): a 0dte gamma profile of the whole chain peaks at far
// round strikes and reads as another profile.
TEST_F(RouterTest, EachProfileWordCoversTheExpiriesItNames) {
  const auto gex = [&](ChainExpiry expiry) { return gexProfileJson(gexSnapshot(model, "SPX", expiry, kNow)); };
  const auto greek = [&](Greek kind, ChainExpiry expiry) {
    return greekProfileJson(greekSnapshot(model, "SPX", kind, expiry, kNow));
  };
  const std::pair<const char*, std::string> cases[] = {
      {"classic/full", gex(ChainExpiry::All)},
      {"classic/zero", gex(ChainExpiry::ZeroDay)},
      {"state/one", gex(ChainExpiry::OneDay)},
      {"state/gamma", greek(Greek::Gamma, ChainExpiry::ZeroDay)},
      {"state/gamma_one", greek(Greek::Gamma, ChainExpiry::OneDay)},
      {"state/delta", greek(Greek::Delta, ChainExpiry::ZeroDay)},
      {"state/delta_one", greek(Greek::Delta, ChainExpiry::OneDay)},
  };
  for (const auto& [word, body] : cases) {
    EXPECT_EQ(profile(std::string("/v2/sierra/SPX/") + word).body, body) << word;
  }
}

TEST(RouterClock, StepsWithEveryProfileAnswerOfEachTickerOnItsOwn) {
  MarketModel model{0};
  FaultPlan faults{FaultMode::None, 0, 0, std::nullopt};
  ReplayBook replays;
  const RequestRouter router{model, ServiceSettings{"k", kNow, 12, 5}, faults, replays};
  ReceivedRequest request;
  request.method = "GET";
  request.headers = {{"Authorization", "Basic k"}};
  // SPX asked three times, NDX once in between: each ticker's clock counts its own answers.
  const std::vector<std::pair<std::string, int64_t>> asked = {{"SPX", 0}, {"SPX", 5}, {"NDX", 0}, {"SPX", 10}};
  for (const auto& [ticker, ahead] : asked) {
    request.target = "/v2/sierra/" + ticker + "/classic/full";
    rapidjson::Document document;
    document.Parse(router.answer(request).body.c_str());
    EXPECT_EQ(document["timestamp"].GetInt64(), kNow + ahead) << ticker;
  }
  EXPECT_EQ(router.now("spx"), kNow + 15);
  EXPECT_EQ(router.now("NDX"), kNow + 5);
}

TEST_F(RouterTest, ChecksTheKeyInTheFormOfEachEndpoint) {
  const std::string refused = R"({"message":"ERROR: Invalid API Key."})";
  EXPECT_EQ(ask("GET", "/v2/sierra/SPX/classic/full", "").body, refused);
  EXPECT_EQ(ask("GET", "/v2/sierra/SPX/classic/full", "Basic key-2").body, refused);
  EXPECT_EQ(ask("GET", "/v2/sierra/SPX/classic/full", "Basic  key-1").body, refused);
  EXPECT_EQ(ask("GET", "/v2/sierra/SPX/classic/full", "Bearer key-1").body, refused);
  EXPECT_EQ(ask("POST", "/v2/sierra/hist/SPX/classic/gex_full/majors/7", "Bearer key-1", "{}").body, refused);

  const std::string futures = "/v2/futures/conversion?ticker=spx&future=ES&model=additive";
  EXPECT_EQ(ask("GET", futures, "Bearer key-1").status, 200);
  const Reply wrong = ask("GET", futures, "Basic key-1");
  EXPECT_EQ(wrong.status, 401);
  EXPECT_EQ(wrong.body, R"({"error":"Invalid API Key."})");
}

TEST_F(RouterTest, RefusesUnknownPathsMethodsAndBadBodies) {
  EXPECT_EQ(ask("GET", "/v2/other", "Basic key-1").status, 404);
  EXPECT_EQ(ask("GET", "/v2/other", "Basic key-1").body, R"({"error":"not found"})");
  EXPECT_EQ(ask("POST", "/v2/sierra/SPX/classic/full", "Basic key-1").status, 405);
  EXPECT_EQ(ask("GET", "/v2/sierra/hist/SPX/classic/gex_full/majors/7", "Basic key-1").status, 405);
  EXPECT_EQ(ask("POST", "/v2/sierra/hist/SPX/classic/gex_full/majors/7", "Basic key-1", "{\"start\":1}").status,
            400);
  EXPECT_EQ(ask("GET", "/v2/futures/conversion?ticker=spx&future=ES", "Bearer key-1").status, 400);

  ReceivedRequest large;
  large.method = "POST";
  large.target = "/v2/sierra/hist/SPX/classic/gex_full/majors/7";
  large.body_too_large = true;
  EXPECT_EQ(router.answer(large).status, 413);
}

TEST_F(RouterTest, AnswersTheHistoryForTheWindowUpToNow) {
  const Reply reply = ask("POST", "/v2/sierra/hist/SPX/classic/gex_full/majors/7", "Basic key-1",
                          R"({"start": 1772460000, "end": 1772470000})");
  rapidjson::Document document;
  document.Parse(reply.body.c_str());
  ASSERT_TRUE(document.IsArray());
  EXPECT_EQ(document.Size(), 61u);
  EXPECT_EQ(document[60]["timestamp"].GetInt64(), kNow);
}

TEST(FaultReply, GivesEachFaultItsAnswer) {
  Reply normal;
  normal.body = "{\"timestamp\":1}";
  EXPECT_EQ(faultReply(FaultMode::InvalidKey, Endpoint::History, normal, 1).body,
            R"({"message":"ERROR: Invalid API Key."})");
  EXPECT_EQ(faultReply(FaultMode::InvalidKey, Endpoint::Futures, normal, 1).status, 401u);
  EXPECT_EQ(faultReply(FaultMode::Error, Endpoint::Profile, normal, 1).body,
            R"({"error":"Service temporarily unavailable"})");
  const Reply http500 = faultReply(FaultMode::Http500, Endpoint::Profile, normal, 1);
  EXPECT_EQ(http500.status, 500u);
  EXPECT_EQ(http500.content_type, "text/plain");
  EXPECT_EQ(faultReply(FaultMode::Empty, Endpoint::Profile, normal, 1).body, "");
  const Reply notFound = faultReply(FaultMode::NotFound, Endpoint::Futures, normal, 1);
  EXPECT_EQ(notFound.status, 404u);
  EXPECT_EQ(notFound.body, R"({"error":"not found"})");
  const std::string nested = faultReply(FaultMode::Nested, Endpoint::Profile, normal, 1).body;
  EXPECT_EQ(nested.size(), 200000u);
  EXPECT_EQ(nested.find(']'), 100000u);
  rapidjson::Document document;
  document.Parse(faultReply(FaultMode::Malformed, Endpoint::Profile, normal, 1).body.c_str());
  EXPECT_TRUE(document.HasParseError());

  const Reply slow = faultReply(FaultMode::Slow, Endpoint::Profile, normal, 2.5);
  EXPECT_EQ(slow.body, normal.body);
  EXPECT_EQ(slow.delay_s, 2.5);
  EXPECT_EQ(faultReply(FaultMode::Truncated, Endpoint::Profile, normal, 1).delivery, Delivery::CutWithLength);
  EXPECT_EQ(faultReply(FaultMode::Close, Endpoint::Profile, normal, 1).delivery, Delivery::CutChunked);
  EXPECT_EQ(faultReply(FaultMode::Close, Endpoint::Profile, normal, 1).fault, FaultMode::Close);
}

TEST(FaultPlan, DrawsTheSameSequenceForTheSameSeed) {
  FaultPlan first(FaultMode::Random, 0.5, 42, std::nullopt);
  FaultPlan second(FaultMode::Random, 0.5, 42, std::nullopt);
  FaultPlan other_seed(FaultMode::Random, 0.5, 43, std::nullopt);
  int faults = 0, differences = 0;
  for (int i = 0; i < 400; ++i) {
    const FaultMode drawn = first.draw(Endpoint::Profile);
    EXPECT_EQ(drawn, second.draw(Endpoint::Profile));
    EXPECT_NE(drawn, FaultMode::Random);
    faults += drawn != FaultMode::None ? 1 : 0;
    differences += drawn != other_seed.draw(Endpoint::Profile) ? 1 : 0;
  }
  EXPECT_GT(faults, 150);
  EXPECT_LT(faults, 250);
  EXPECT_GT(differences, 100);
}

// A run of requests: answers, then faults, then answers again; counted only
// at the endpoints faults apply to, so other requests do not use it up.
TEST(FaultPlan, FaultsOnlyTheRequestsOfItsRun) {
  FaultPlan plan(FaultMode::Http500, 0, 1, Endpoint::Profile, RequestRun{3, 5});
  std::string drawn;
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(plan.draw(Endpoint::History), FaultMode::None);
    drawn += plan.draw(Endpoint::Profile) == FaultMode::None ? '.' : 'F';
  }
  EXPECT_EQ(drawn, "..FFF..");

  const struct {
    const char* text;
    std::optional<RequestRun> run;
  } texts[] = {{"3-6", RequestRun{3, 6}}, {"4", RequestRun{4, 4}}, {"2-2", RequestRun{2, 2}},
               {"0-3", std::nullopt},     {"6-3", std::nullopt},   {"3-", std::nullopt},
               {"-3", std::nullopt},      {"a-b", std::nullopt},   {"", std::nullopt}};
  for (const auto& t : texts) {
    const std::optional<RequestRun> run = requestRunFromText(t.text);
    ASSERT_EQ(run.has_value(), t.run.has_value()) << t.text;
    if (run) {
      EXPECT_TRUE(run->first == t.run->first && run->last == t.run->last) << t.text;
    }
  }
}

TEST(FaultPlan, KeepsToItsRateAndEndpoint) {
  FaultPlan never(FaultMode::Random, 0, 1, std::nullopt);
  FaultPlan always(FaultMode::Random, 1, 1, std::nullopt);
  FaultPlan history_only(FaultMode::Http500, 0.3, 1, Endpoint::History);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(never.draw(Endpoint::Futures), FaultMode::None);
    EXPECT_NE(always.draw(Endpoint::Futures), FaultMode::None);
    EXPECT_EQ(history_only.draw(Endpoint::Profile), FaultMode::None);
    EXPECT_EQ(history_only.draw(Endpoint::History), FaultMode::Http500);
  }
  EXPECT_EQ(faultFromName("invalid-key"), FaultMode::InvalidKey);
  EXPECT_FALSE(faultFromName("Http500"));
  for (const char* name : {"none", "invalid-key", "error", "http500", "empty", "malformed", "truncated", "nested",
                           "slow", "close", "random"}) {
    ASSERT_TRUE(faultFromName(name)) << name;
    EXPECT_STREQ(faultName(*faultFromName(name)), name);
  }
}

}  // namespace
}  // namespace standin
