// The module's own HTTPS request through WinHTTP, against loopback stand-ins
// of the service that the Windows stage starts beside the tests. Each one is
// named by an environment variable holding its route ("NAME:PORT"); the
// stage trusts their certificates in the tests' Wine prefix, all but the
// untrusted one's.
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "integration/recorded_request.h"
#include "service/direct_http_client.h"
#include "support/test_platform.h"

using namespace tarvio;

namespace {

constexpr const char* kStandinKey = "standin-key";

// The route of a stand-in the stage started; fails the test when there is none.
std::string standinRoute(const char* variable) {
  const char* route = std::getenv(variable);
  if (route == nullptr || route[0] == '\0') {
    ADD_FAILURE() << variable << " is not set: run these tests through ./run test-windows";
    return "127.0.0.1:1";
  }
  return route;
}

// Sends the module's request along `route` for the lifetime of the object.
class RoutedTo {
 public:
  explicit RoutedTo(const std::string& route) {
    setTestEnvironment("TARVIO_TEST_CONNECT_TO", route.c_str());
  }
  ~RoutedTo() { clearTestEnvironment("TARVIO_TEST_CONNECT_TO"); }
  RoutedTo(const RoutedTo&) = delete;
  RoutedTo& operator=(const RoutedTo&) = delete;
};

struct Fetched {
  bool completed;
  uint32_t status;
  std::string body;
  std::string error;
};

Fetched fetch(const std::string& route, const char* key = kStandinKey, const char* ticker = "SPX",
              const char* target = "ES") {
  RoutedTo routed(route);
  DirectHttpResult result = fetchFuturesConversion(ticker, target, key);
  Fetched fetched{result.completed, result.statusCode, hostStringText(result.body),
                  hostStringText(result.errorText)};
  releaseDirectHttpResult(result);
  return fetched;
}

std::vector<std::string> recordedLines() {
  std::vector<std::string> lines;
  const char* file = std::getenv("TARVIO_STANDIN_RECORD");
  if (file == nullptr) return lines;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(WinHttpClientTest, SendsTheConversionRequestAndReadsTheAnswer) {
  const Fetched fetched = fetch(standinRoute("TARVIO_STANDIN"), kStandinKey, "NQ_NDX", "NQM6");
  EXPECT_TRUE(fetched.completed) << fetched.error;
  EXPECT_EQ(fetched.status, 200u);
  EXPECT_NE(fetched.body.find("\"multiplier\""), std::string::npos) << fetched.body;

  const std::vector<RecordedRequest> requests = parseRecordedRequests(recordedLines());
  ASSERT_FALSE(requests.empty()) << "the stand-in recorded nothing";
  const RecordedRequest& sent = requests.back();
  EXPECT_EQ(sent.method, "GET");
  EXPECT_EQ(sent.path, "/v2/futures/conversion?ticker=nq_ndx&future=NQM6&model=additive");
  // WinHTTP adds the connection header by itself.
  using Headers = std::vector<std::pair<std::string, std::string>>;
  Headers headers;
  for (const auto& header : sent.senderHeaders()) {
    if (header.first != "Connection") headers.push_back(header);
  }
  EXPECT_EQ(headers, (Headers{{"User-Agent", "SierraChart-Tarvio/1.0"},
                              {"Authorization", std::string("Bearer ") + kStandinKey},
                              {"Accept", "application/json"},
                              {"X-tarvio-plugin", "v2.2026.03.05"}}));
}

TEST(WinHttpClientTest, AnyStatusIsACompletedRequestWithItsBody) {
  struct Case {
    const char* standin;
    const char* key;
    uint32_t status;
    const char* body;
  };
  const Case cases[] = {
      {"TARVIO_STANDIN_NOT_FOUND", kStandinKey, 404, R"({"error":"not found"})"},
      {"TARVIO_STANDIN", "wrong-key", 401, R"({"error":"Invalid API Key."})"},
      {"TARVIO_STANDIN_EMPTY", kStandinKey, 200, ""},
      // The answer holds a zero byte: the body ends there.
      {"TARVIO_STANDIN_ZERO_BYTE", kStandinKey, 200, R"({"multiplier":2})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.standin);
    const Fetched fetched = fetch(standinRoute(c.standin), c.key);
    EXPECT_TRUE(fetched.completed) << fetched.error;
    EXPECT_EQ(fetched.status, c.status);
    EXPECT_EQ(fetched.body, c.body);
    EXPECT_EQ(fetched.error, "");
  }
}

TEST(WinHttpClientTest, NothingListeningFailsTheSendStepWithItsNumber) {
  const Fetched fetched = fetch("127.0.0.1:1");
  EXPECT_FALSE(fetched.completed);
  EXPECT_EQ(fetched.status, 0u);
  EXPECT_EQ(fetched.body, "");
  EXPECT_EQ(fetched.error, "WinHttpSendRequest/ReceiveResponse failed (GetLastError=" +
                               std::to_string(connectionRefusedErrorNumber()) + ")");
}

TEST(WinHttpClientTest, ARouteWithoutAPortFailsTheConnectStep) {
  const Fetched fetched = fetch("localhost");
  EXPECT_FALSE(fetched.completed);
  EXPECT_EQ(fetched.error, "WinHttpConnect failed (GetLastError=" +
                               std::to_string(ERROR_INVALID_PARAMETER) + ")");
}

TEST(WinHttpClientTest, ACertificateNotTrustedFailsTheRequest) {
  const Fetched fetched = fetch(standinRoute("TARVIO_STANDIN_UNTRUSTED"));
  EXPECT_FALSE(fetched.completed);
  EXPECT_EQ(fetched.status, 0u);
  EXPECT_EQ(fetched.body, "");
  // Windows reports a refused certificate as a secure failure, Wine as an
  // error of the secure channel.
  const std::string prefix = "WinHttpSendRequest/ReceiveResponse failed (GetLastError=";
  EXPECT_TRUE(fetched.error == prefix + std::to_string(ERROR_WINHTTP_SECURE_FAILURE) + ")" ||
              fetched.error == prefix + std::to_string(ERROR_WINHTTP_SECURE_CHANNEL_ERROR) + ")")
      << fetched.error;
}

}  // namespace
