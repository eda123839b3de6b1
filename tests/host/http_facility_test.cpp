// The chart host's HTTP facility as a study reaches it: requests handed over
// through HostMakeHttpRequest, answers delivered one per later call.
#include "host/http_facility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "host/scripted_transport.h"
#include "host/study_instance.h"

using namespace chart_host;

namespace {

void noStudy(HostStudyInterface&) {}

struct HeaderText {
  const char* name;
  const char* value;
};

// Sends a request the way the study does: texts it owns, released right after.
int32_t sendRequest(HostStudyInterface& sc, const char* url, const char* body = nullptr,
                    const std::vector<HeaderText>& headers = {}) {
  HostString urlText{}, bodyText{};
  assignHostString(urlText, url);
  assignHostString(bodyText, body);
  std::vector<HttpHeader> list(headers.size(), HttpHeader{});
  for (std::size_t i = 0; i < headers.size(); ++i) {
    assignHostString(list[i].name, headers[i].name);
    assignHostString(list[i].value, headers[i].value);
  }
  const int32_t id = sc.ops.HostMakeHttpRequest(urlText, bodyText, list.data(),
                                                static_cast<uint32_t>(list.size()));
  for (HttpHeader& header : list) {
    releaseHostString(header.name);
    releaseHostString(header.value);
  }
  releaseHostString(urlText);
  releaseHostString(bodyText);
  return id;
}

struct Delivered {
  int32_t id = 0;
  std::string text;
};

class HttpFacilityTest : public ::testing::Test {
 protected:
  HttpFacilityTest() : instance(chart, noStudy, 1) { instance.setHttpTransport(transport); }

  // One ordinary call running `body`; what the call was delivered.
  Delivered call(const std::function<void(HostStudyInterface&)>& body = {}, bool wait = false) {
    Delivered seen;
    CallSettings settings;
    settings.waitForHttpAnswer = wait;
    instance.runCallWith(settings, [&](HostStudyInterface& sc) {
      seen = Delivered{sc.httpResponseRequestId, hostStringText(sc.httpResponseText)};
      if (body) body(sc);
    });
    return seen;
  }

  int32_t submit(const char* url = "https://levels.example/v2/x") {
    int32_t id = 0;
    call([&](HostStudyInterface& sc) { id = sendRequest(sc, url); });
    return id;
  }

  Chart chart;
  std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
  StudyInstance instance;
};

TEST_F(HttpFacilityTest, WithoutATransportEveryRequestIsRefused) {
  instance.setHttpTransport(nullptr);
  EXPECT_EQ(submit(), 0);
  EXPECT_EQ(instance.http().accepted(), 0);
  EXPECT_FALSE(call(nullptr, true).id);
}

TEST_F(HttpFacilityTest, TheTransportGetsTheRequestAsTheStudyWroteIt) {
  int32_t id = 0;
  call([&](HostStudyInterface& sc) {
    id = sendRequest(sc, "https://levels.example/v2/hist", "{\"a\":1}",
                     {{"X-plugin", "v2"}, {"Accept", "application/json"}, {"X-empty", nullptr}});
  });
  EXPECT_NE(id, 0);
  ASSERT_EQ(transport->received().size(), 1u);
  const HttpRequest& request = transport->received()[0];
  EXPECT_EQ(request.url, "https://levels.example/v2/hist");
  EXPECT_EQ(request.body, "{\"a\":1}");
  using Header = std::pair<std::string, std::string>;
  const std::vector<Header> expected{
      {"X-plugin", "v2"}, {"Accept", "application/json"}, {"X-empty", ""}};
  EXPECT_EQ(request.headers, expected);
}

TEST_F(HttpFacilityTest, RequestsThatCannotBeSentAsGivenAreRefused) {
  struct Case {
    const char* what;
    const char* url;
    std::vector<HeaderText> headers;
  };
  const Case cases[] = {
      {"no URL", nullptr, {}},
      {"line break in the URL", "https://levels.example/\r\nX-a: b", {}},
      {"header without a name", "https://levels.example/", {{nullptr, "v"}}},
      {"colon in a header name", "https://levels.example/", {{"X-a: b", "v"}}},
      {"line break in a header value", "https://levels.example/", {{"X-a", "v\r\nX-b: w"}}},
  };
  for (const Case& c : cases) {
    int32_t id = -1;
    call([&](HostStudyInterface& sc) { id = sendRequest(sc, c.url, nullptr, c.headers); });
    EXPECT_EQ(id, 0) << c.what;
  }
  int32_t nullList = -1;
  call([&](HostStudyInterface& sc) {
    HostString url{};
    assignHostString(url, "https://levels.example/");
    nullList = sc.ops.HostMakeHttpRequest(url, HostString{}, nullptr, 2);
    EXPECT_NE(sc.ops.HostMakeHttpRequest(url, HostString{}, nullptr, 0), 0);
    releaseHostString(url);
  });
  EXPECT_EQ(nullList, 0);
  EXPECT_EQ(transport->received().size(), 1u);
  EXPECT_EQ(instance.http().accepted(), 1);
}

TEST_F(HttpFacilityTest, AnAnswerIsDeliveredOnALaterCallNeverOnTheSameOne) {
  int32_t id = 0;
  call([&](HostStudyInterface& sc) {
    id = sendRequest(sc, "https://levels.example/");
    transport->answer("{\"timestamp\": 1}");  // completes before the call ends
    EXPECT_EQ(sc.httpResponseRequestId, 0);
  });
  const Delivered next = call();
  EXPECT_EQ(next.id, id);
  EXPECT_EQ(next.text, "{\"timestamp\": 1}");
  EXPECT_EQ(call().id, 0);
  EXPECT_EQ(instance.http().outstanding(), 0);
}

TEST_F(HttpFacilityTest, TheStudyReadsTheBodyOrAnErrorWord) {
  struct Case {
    bool delivered;
    long status;
    const char* body;
    const char* expected;
  };
  const Case cases[] = {
      {true, 200, "{\"a\":1}", "{\"a\":1}"},
      {true, 500, "{\"error\":\"busy\"}", "{\"error\":\"busy\"}"},  // any status keeps its body
      {true, 200, "", "EMPTY_RESPONSE"},
      {true, 404, "", "EMPTY_RESPONSE"},
      {false, 0, "", "HTTP_REQUEST_ERROR"},
  };
  for (const Case& c : cases) {
    ASSERT_NE(submit(), 0);
    c.delivered ? transport->answer(c.body, c.status) : transport->fail();
    EXPECT_EQ(call().text, c.expected) << c.status << " " << c.body;
  }
}

// What the host reports by (never the study): the answer of the latest call
// with its URL, status and where a failed transfer broke off.
TEST_F(HttpFacilityTest, TheInstanceKeepsWhatTheLatestCallsTransferCameTo) {
  struct Case {
    const char* what;
    std::function<void(ScriptedTransport&)> end;
    bool delivered;
    long status;
    TransferFailure failure;
  };
  const Case cases[] = {
      {"answered", [](ScriptedTransport& t) { t.answer("{}"); }, true, 200, TransferFailure::ServiceNotReached},
      {"refused by status", [](ScriptedTransport& t) { t.answer("no", 401); }, true, 401,
       TransferFailure::ServiceNotReached},
      {"never reached", [](ScriptedTransport& t) { t.fail(); }, false, 0, TransferFailure::ServiceNotReached},
      {"cut short", [](ScriptedTransport& t) { t.fail(TransferFailure::AnswerCutShort); }, false, 0,
       TransferFailure::AnswerCutShort},
  };
  for (const Case& c : cases) {
    ASSERT_NE(submit("https://levels.example/v2/x?ticker=SPX"), 0);
    c.end(*transport);
    call();
    const std::optional<HttpAnswer>& answer = instance.lastCallAnswer();
    ASSERT_TRUE(answer.has_value()) << c.what;
    EXPECT_EQ(answer->url, "https://levels.example/v2/x?ticker=SPX") << c.what;
    EXPECT_EQ(answer->delivered, c.delivered) << c.what;
    EXPECT_EQ(answer->status, c.status) << c.what;
    if (!c.delivered) {
      EXPECT_EQ(answer->failure, c.failure) << c.what;
    }
    call();
    EXPECT_FALSE(instance.lastCallAnswer().has_value()) << c.what;
  }
}

TEST_F(HttpFacilityTest, AnswersComeOnePerCallInOrderAndRefusedRequestsGetNone) {
  const int32_t first = submit();
  transport->refuseNext();
  EXPECT_EQ(submit(), 0);
  const int32_t second = submit();
  EXPECT_LT(0, first);
  EXPECT_LT(first, second);
  transport->answer("one");
  transport->fail();
  EXPECT_FALSE(transport->answer("nobody waits"));
  EXPECT_EQ(instance.http().outstanding(), 2);
  const Delivered a = call(), b = call(), c = call(nullptr, true);  // nothing left: no wait
  EXPECT_EQ(a.id, first);
  EXPECT_EQ(a.text, "one");
  EXPECT_EQ(b.id, second);
  EXPECT_EQ(b.text, "HTTP_REQUEST_ERROR");
  EXPECT_EQ(c.id, 0);
  EXPECT_EQ(instance.http().accepted(), 2);
}

TEST_F(HttpFacilityTest, AnAnswerGivenInTheSettingsLeavesTheQueueForLaterCalls) {
  const int32_t id = submit();
  transport->answer("queued");
  CallSettings settings;
  settings.httpResponseRequestId = 77;
  settings.httpResponseText = "explicit";
  instance.runCallWith(settings, [](HostStudyInterface& sc) {
    EXPECT_EQ(sc.httpResponseRequestId, 77);
    EXPECT_STREQ(hostStringText(sc.httpResponseText), "explicit");
  });
  const Delivered next = call();
  EXPECT_EQ(next.id, id);
  EXPECT_EQ(next.text, "queued");
}

// Answers from its own thread a little later, as a network transport does.
class DelayedTransport : public HttpTransport {
 public:
  ~DelayedTransport() override { worker_.join(); }
  bool start(const HttpRequest& request, Completion done) override {
    worker_ = std::thread([body = request.url, done = std::move(done)] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      done(HttpOutcome{true, 200, body, {}});
    });
    return true;
  }

 private:
  std::thread worker_;  // one request per test
};

TEST_F(HttpFacilityTest, WaitingForAnAnswerDeliversItOnThatCall) {
  instance.setHttpTransport(std::make_shared<DelayedTransport>());
  const int32_t id = submit("https://levels.example/slow");
  const Delivered seen = call(nullptr, true);
  EXPECT_EQ(seen.id, id);
  EXPECT_EQ(seen.text, "https://levels.example/slow");
}

TEST_F(HttpFacilityTest, AWaitForAnAnswerEndsByItsDeadline) {
  using namespace std::chrono_literals;
  struct Case {
    const char* what;
    int requests;
    int answered;
    std::chrono::milliseconds deadlineIn;
    bool answer;
    bool deadlinePassed;
  };
  // A far deadline must not be waited out: the case returns at once.
  const Case cases[] = {
      {"nothing outstanding", 0, 0, 1h, false, false},
      {"an answer already arrived", 1, 1, 1h, true, false},
      {"an outstanding request no one answers", 1, 0, 50ms, false, true},
      {"a deadline already passed", 1, 0, -1s, false, true},
  };
  for (const Case& c : cases) {
    HttpFacility facility;
    auto scripted = std::make_shared<ScriptedTransport>();
    facility.setTransport(scripted);
    for (int i = 0; i < c.requests; ++i) ASSERT_NE(facility.submit(HttpRequest{}), 0);
    for (int i = 0; i < c.answered; ++i) scripted->answer("body");
    const auto before = std::chrono::steady_clock::now();
    const AnswerWait waited = facility.takeAnswerBy(before + c.deadlineIn);
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_EQ(waited.answer.has_value(), c.answer) << c.what;
    EXPECT_EQ(waited.deadlinePassed, c.deadlinePassed) << c.what;
    const std::chrono::milliseconds waitedOut = c.deadlinePassed ? std::max(c.deadlineIn, 0ms) : 0ms;
    EXPECT_GE(took, waitedOut) << c.what;
    EXPECT_LT(took, waitedOut + 10s) << c.what;
    EXPECT_EQ(facility.outstanding(), c.requests - (c.answer ? 1 : 0)) << c.what;
  }
}

TEST_F(HttpFacilityTest, ACallStopsWaitingAtTheLimitAndTheAnswerComesOnALaterOne) {
  const int32_t id = submit();
  instance.http().setAnswerWaitLimit(std::chrono::milliseconds(30));
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(call(nullptr, true).id, 0);
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(30));
  EXPECT_EQ(instance.http().outstanding(), 1);  // still awaited, not dropped
  transport->answer("late");
  const Delivered next = call(nullptr, true);
  EXPECT_EQ(next.id, id);
  EXPECT_EQ(next.text, "late");
}

TEST_F(HttpFacilityTest, ATransportThatGoesAwayAnswersWhatItHeldAsFailed) {
  const int32_t id = submit();
  transport.reset();
  instance.setHttpTransport(nullptr);  // the last reference
  const Delivered seen = call();
  EXPECT_EQ(seen.id, id);
  EXPECT_EQ(seen.text, "HTTP_REQUEST_ERROR");
}

TEST(HttpFacilityLifetimeTest, AnAnswerArrivingAfterTheFacilityIsGoneIsHarmless) {
  auto transport = std::make_shared<ScriptedTransport>();
  {
    Chart chart;
    StudyInstance instance(chart, noStudy, 1);
    instance.setHttpTransport(transport);
    instance.runCallWith({}, [](HostStudyInterface& sc) {
      EXPECT_NE(sendRequest(sc, "https://levels.example/"), 0);
    });
  }
  EXPECT_TRUE(transport->answer("late"));
}

}  // namespace
