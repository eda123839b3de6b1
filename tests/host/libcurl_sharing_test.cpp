// The host's libcurl transport and the module's own HTTPS request share the
// process's one libcurl. The module initialises libcurl on its first request,
// possibly while the host's worker thread is inside libcurl; that is safe only
// with a libcurl whose global initialisation is thread-safe.
#include <curl/curl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "host/curl_transport.h"
#include "service/https_get.h"
#include "support/standin_process.h"

namespace chart_host {}
namespace tarvio {}
using namespace chart_host;
using namespace tarvio;

namespace {

using namespace std::chrono_literals;

constexpr int kHostTransfers = 6;

TEST(LibcurlSharingTest, TheLibcurlInUseInitialisesThreadSafely) {
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  ASSERT_NE(info, nullptr);
  EXPECT_NE(info->features & CURL_VERSION_THREADSAFE, 0)
      << "libcurl " << info->version
      << " may not be initialised while another thread uses it (7.84 or later is needed)";
}

TEST(LibcurlSharingTest, TheModulesRequestRunsWhileTheHostsTransfersAreInFlight) {
  standin_test::StandinProcess standin;
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  // Read by the module's request in test builds; set before any thread runs.
  setenv("TARVIO_TEST_CA_FILE", standin.certificatePath().c_str(), 1);

  std::mutex mutex;
  std::condition_variable finished;
  int delivered = 0, answered = 0;
  {
    CurlTransportOptions options;
    options.caFile = standin.certificatePath();
    CurlTransport transport(options);
    for (int i = 0; i < kHostTransfers; ++i) {
      const HttpRequest request{standin.url("/v2/sierra/SPX/classic/full"), "",
                                {{"Authorization", "Basic standin-key"}}};
      ASSERT_TRUE(transport.start(request, [&](HttpOutcome outcome) {
        std::lock_guard<std::mutex> lock(mutex);
        ++answered;
        delivered += outcome.delivered && outcome.status == 200 ? 1 : 0;
        finished.notify_all();
      }));
    }
    DirectHttpResult result{};
    std::thread module([&] {
      const std::string path = "/v2/futures/conversion?ticker=SPX&future=ES&model=additive";
      const HttpsGetRequest request{"127.0.0.1", static_cast<uint16_t>(standin.port()),
                                    path.c_str(), "Authorization: Bearer standin-key\r\n",
                                    "tarvio-test"};
      performHttpsGet(request, result);
    });
    module.join();
    EXPECT_TRUE(result.completed) << hostStringText(result.errorText);
    EXPECT_EQ(result.statusCode, 200u);
    releaseHostString(result.body);
    releaseHostString(result.errorText);

    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_TRUE(finished.wait_for(lock, 60s, [&] { return answered == kHostTransfers; }));
  }
  unsetenv("TARVIO_TEST_CA_FILE");
  EXPECT_EQ(delivered, kHostTransfers);
}

}  // namespace
