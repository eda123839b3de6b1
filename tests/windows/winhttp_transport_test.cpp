// The host's WinHTTP transport against the loopback stand-ins the Windows
// stage starts: answers as received, and transfers that fail or cannot be
// sent completed as failed, each exactly once, telling a service never
// reached from an answer cut short.
#include "host/winhttp_transport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>

using namespace chart_host;

namespace {

std::string route(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr ? value : "";
}

// Starts one transfer and waits for its outcome.
HttpOutcome transfer(const std::string& connectTo, const HttpRequest& request) {
  WinHttpTransportOptions options;
  options.connectTo = connectTo;
  options.userAgent = "tarvio-chart test";
  WinHttpTransport transport(options);
  auto outcome = std::make_shared<std::promise<HttpOutcome>>();
  std::future<HttpOutcome> arrived = outcome->get_future();
  EXPECT_TRUE(transport.start(request, [outcome](HttpOutcome done) { outcome->set_value(std::move(done)); }));
  EXPECT_EQ(arrived.wait_for(std::chrono::seconds(60)), std::future_status::ready);
  return arrived.get();
}

const HttpRequest kProfile{"https://api.tarvio.com/v2/sierra/SPX/classic/full", "",
                           {{"Authorization", "Basic standin-key"}, {"Accept", "application/json"}}};

TEST(WinHttpTransportTest, GetsAndPostsThroughTheStandin) {
  const std::string standin = route("TARVIO_STANDIN");
  ASSERT_FALSE(standin.empty()) << "TARVIO_STANDIN is not set: run these tests through ./run test-windows";

  const HttpOutcome profile = transfer(standin, kProfile);
  EXPECT_TRUE(profile.delivered);
  EXPECT_EQ(profile.status, 200);
  EXPECT_NE(profile.body.find("\"strikes\""), std::string::npos) << profile.body.substr(0, 200);

  const HttpRequest history{"https://api.tarvio.com/v2/sierra/hist/SPX/classic/gex_full/majors/7",
                            R"({"start": 1772460000, "end": 1772460120})",
                            {{"Authorization", "Basic standin-key"}, {"Content-Type", "application/json"}}};
  const HttpOutcome answer = transfer(standin, history);
  EXPECT_TRUE(answer.delivered);
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body.front(), '[') << answer.body.substr(0, 200);
}

TEST(WinHttpTransportTest, TransfersThatCannotSucceedAreCompletedAsFailed) {
  struct Case {
    const char* what;
    std::string connectTo;
    HttpRequest request;
  };
  HttpRequest brokenHeader = kProfile;
  brokenHeader.headers.push_back({"X-Note", "one\r\nInjected: two"});
  HttpRequest plainHttp = kProfile;
  plainHttp.url = "http://api.tarvio.com/v2/sierra/SPX/classic/full";
  const Case cases[] = {
      {"nothing listening", "127.0.0.1:1", kProfile},
      {"certificate not trusted", route("TARVIO_STANDIN_UNTRUSTED"), kProfile},
      {"header breaking its line", route("TARVIO_STANDIN"), brokenHeader},
      {"not https", route("TARVIO_STANDIN"), plainHttp},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(c.connectTo.empty()) << "run these tests through ./run test-windows";
    const HttpOutcome outcome = transfer(c.connectTo, c.request);
    EXPECT_FALSE(outcome.delivered);
    EXPECT_EQ(outcome.failure, TransferFailure::ServiceNotReached) << outcome.error;
  }
}

// A body shorter than its Content-Length is cut short. A chunked answer whose
// connection closes mid-body ends without an error in Wine's WinHTTP, so it
// may come as a short body; either way the service was reached.
TEST(WinHttpTransportTest, AnswersCutShortAreToldApartFromAServiceNeverReached) {
  struct Case {
    const char* variable;
    bool mayArriveShort;
  };
  for (const Case& c : {Case{"TARVIO_STANDIN_TRUNCATED", false}, Case{"TARVIO_STANDIN_CLOSE", true}}) {
    SCOPED_TRACE(c.variable);
    const std::string standin = route(c.variable);
    ASSERT_FALSE(standin.empty()) << "run these tests through ./run test-windows";
    const HttpOutcome outcome = transfer(standin, kProfile);
    if (outcome.delivered && c.mayArriveShort) continue;
    EXPECT_FALSE(outcome.delivered) << outcome.body.size() << " bytes";
    EXPECT_EQ(outcome.failure, TransferFailure::AnswerCutShort) << outcome.error;
  }
}

TEST(WinHttpTransportTest, ShuttingDownCompletesWhatIsQueued) {
  WinHttpTransportOptions options;
  options.connectTo = "127.0.0.1:1";
  int completed = 0;
  {
    WinHttpTransport transport(options);
    for (int i = 0; i < 5; ++i) {
      EXPECT_TRUE(transport.start(kProfile, [&completed](HttpOutcome outcome) {
        EXPECT_FALSE(outcome.delivered);
        ++completed;
      }));
    }
  }
  EXPECT_EQ(completed, 5);
}

}  // namespace
