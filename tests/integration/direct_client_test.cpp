// The module's own HTTPS request (libcurl) against the loopback stand-in:
// statuses and bodies as received, a body cut at a zero byte, and the
// failures a user can meet (nothing listening, a certificate not trusted).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "integration/recorded_request.h"
#include "integration/recording_standin.h"
#include "service/direct_http_client.h"

using namespace tarvio;

namespace {

// Routes the request to the stand-in for the length of a test.
class RoutedStandin {
 public:
  explicit RoutedStandin(std::vector<std::string> options, bool trustCertificate = true)
      : standin(std::move(options)) {
    setenv("TARVIO_TEST_CONNECT_TO", ("127.0.0.1:" + std::to_string(standin.port())).c_str(), 1);
    if (trustCertificate) setenv("TARVIO_TEST_CA_FILE", standin.certificateFile().c_str(), 1);
  }
  ~RoutedStandin() {
    unsetenv("TARVIO_TEST_CONNECT_TO");
    unsetenv("TARVIO_TEST_CA_FILE");
  }
  RecordingStandin standin;
};

struct Fetched {
  bool completed;
  uint32_t status;
  std::string body;
  std::string error;
};

Fetched fetch(const char* ticker = "SPX", const char* target = "ES",
              const char* key = RecordingStandin::kApiKey) {
  DirectHttpResult result = fetchFuturesConversion(ticker, target, key);
  Fetched fetched{result.completed, result.statusCode, hostStringText(result.body),
                  hostStringText(result.errorText)};
  releaseDirectHttpResult(result);
  return fetched;
}

TEST(DirectClientTest, ReadsTheConversionAnswer) {
  RoutedStandin routed({});
  ASSERT_TRUE(routed.standin.running()) << routed.standin.startError();
  const Fetched fetched = fetch("NQ_NDX", "NQM6");
  EXPECT_TRUE(fetched.completed) << fetched.error;
  EXPECT_EQ(fetched.status, 200u);
  EXPECT_NE(fetched.body.find("\"multiplier\""), std::string::npos) << fetched.body;
  const auto requests = parseRecordedRequests(routed.standin.recordedRequests());
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/v2/futures/conversion?ticker=nq_ndx&future=NQM6&model=additive");
}

TEST(DirectClientTest, AnyStatusIsACompletedRequest) {
  struct Case {
    std::vector<std::string> options;
    const char* key;
    uint32_t status;
    bool emptyBody;
  };
  const Case cases[] = {
      {{"--fault", "http500"}, RecordingStandin::kApiKey, 500, false},
      {{}, "wrong-key", 401, false},
      {{"--fault", "empty"}, RecordingStandin::kApiKey, 200, true},
  };
  for (const Case& c : cases) {
    RoutedStandin routed(c.options);
    ASSERT_TRUE(routed.standin.running()) << routed.standin.startError();
    const Fetched fetched = fetch("SPX", "ES", c.key);
    EXPECT_TRUE(fetched.completed) << fetched.error;
    EXPECT_EQ(fetched.status, c.status);
    EXPECT_EQ(fetched.body.empty(), c.emptyBody) << fetched.body;
    EXPECT_EQ(fetched.error, "");
  }
}

TEST(DirectClientTest, AnAnswerCutShortKeepsWhatWasRead) {
  for (const char* fault : {"truncated", "close"}) {
    RoutedStandin routed({"--fault", fault});
    ASSERT_TRUE(routed.standin.running()) << routed.standin.startError();
    const Fetched fetched = fetch();
    EXPECT_TRUE(fetched.completed) << fault << ": " << fetched.error;
    EXPECT_EQ(fetched.status, 200u) << fault;
  }
}

TEST(DirectClientTest, BodyEndsAtItsFirstZeroByte) {
  RecordingStandin probe;  // a scratch folder for the replayed answer
  const std::string file = probe.scratchPath("with-zero.json");
  std::ofstream(file, std::ios::binary) << std::string("{\"multiplier\":2}\0{\"tail\":1}", 27);
  RoutedStandin routed({"--replay", "futures=" + file});
  ASSERT_TRUE(routed.standin.running()) << routed.standin.startError();
  const Fetched fetched = fetch();
  EXPECT_TRUE(fetched.completed);
  EXPECT_EQ(fetched.body, "{\"multiplier\":2}");
}

TEST(DirectClientTest, ACertificateNotTrustedFailsTheRequest) {
  RoutedStandin routed({}, false);
  ASSERT_TRUE(routed.standin.running()) << routed.standin.startError();
  const Fetched fetched = fetch();
  EXPECT_FALSE(fetched.completed);
  // libcurl's CURLE_PEER_FAILED_VERIFICATION is 60.
  EXPECT_EQ(fetched.error, "WinHttpSendRequest/ReceiveResponse failed (GetLastError=60)");
  EXPECT_TRUE(routed.standin.recordedRequests().empty());
}

TEST(DirectClientTest, AnAnswerTooSlowIsGivenUpWithinTheTimeouts) {
  RoutedStandin routed({"--fault", "slow", "--slow-seconds", "30"});
  ASSERT_TRUE(routed.standin.running()) << routed.standin.startError();
  const Fetched fetched = fetch();
  EXPECT_FALSE(fetched.completed);
  // libcurl's CURLE_OPERATION_TIMEDOUT is 28.
  EXPECT_EQ(fetched.error, "WinHttpSendRequest/ReceiveResponse failed (GetLastError=28)");
}

}  // namespace
