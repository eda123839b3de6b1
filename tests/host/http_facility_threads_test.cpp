// The HTTP facility under concurrent use, through the real libcurl transport
// and the loopback stand-in: study instances on threads of their own, each
// sending several requests at once, sharing one transport or having one each;
// and facilities and transports going away while transfers still run.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/curl_transport.h"
#include "host/http_facility.h"
#include "host/study_instance.h"
#include "support/standin_process.h"

namespace chart_host {}
using namespace chart_host;

namespace {

using namespace std::chrono_literals;
using standin_test::StandinProcess;

constexpr int kInstances = 4;
constexpr int kRequestsEach = 8;
// Only a guard against a hang; every exchange here ends long before.
constexpr auto kHangGuard = 60s;

void noStudy(HostStudyInterface&) {}

// The stand-in writes a profile's ticker into its answer, so a ticker naming
// the instance and the request tells whose answer a text is.
std::string tickerOf(int instance, int request) {
  return "I" + std::to_string(instance) + "R" + std::to_string(request);
}

HttpRequest profileRequest(const StandinProcess& standin, const std::string& ticker) {
  return HttpRequest{standin.url("/v2/sierra/" + ticker + "/classic/full"),
                     "",
                     {{"Authorization", "Basic standin-key"}, {"Accept", "application/json"}}};
}

std::shared_ptr<CurlTransport> transportTo(const StandinProcess& standin) {
  CurlTransportOptions options;
  options.caFile = standin.certificatePath();
  return std::make_shared<CurlTransport>(options);
}

// One study instance on a chart of its own, driven from one thread.
struct InstanceRun {
  explicit InstanceRun(int32_t studyId) : instance(chart, noStudy, studyId) {}

  int32_t submit(const HttpRequest& request) { return instance.http().submit(request); }

  // Calls the instance, each call waiting for an answer, until none is
  // outstanding; records what each call delivered.
  void collect() {
    const auto guard = std::chrono::steady_clock::now() + kHangGuard;
    while (instance.http().outstanding() > 0 && std::chrono::steady_clock::now() < guard) {
      call();
    }
  }

  void call() {
    CallSettings settings;
    settings.waitForHttpAnswer = true;
    instance.runCallWith(settings, [this](HostStudyInterface& sc) {
      if (sc.httpResponseRequestId != 0) {
        delivered.emplace_back(sc.httpResponseRequestId, hostStringText(sc.httpResponseText));
      }
    });
  }

  Chart chart;
  StudyInstance instance;
  std::map<int32_t, std::string> sent;  // request id -> ticker asked for
  std::vector<std::pair<int32_t, std::string>> delivered;
};

TEST(HttpFacilityThreadsTest, EveryAnswerReachesItsInstanceAndRequestExactlyOnce) {
  StandinProcess standin;
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  for (const bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "one transport for all instances" : "a transport for each instance");
    const std::shared_ptr<CurlTransport> common = transportTo(standin);
    std::vector<std::unique_ptr<InstanceRun>> runs;
    for (int i = 0; i < kInstances; ++i) {
      runs.push_back(std::make_unique<InstanceRun>(i + 1));
      runs.back()->instance.setHttpTransport(shared ? common : transportTo(standin));
    }
    std::vector<std::thread> threads;
    for (int i = 0; i < kInstances; ++i) {
      threads.emplace_back([&standin, &run = *runs[i], i] {
        // Half the requests go out while answers to the first half arrive.
        for (int r = 0; r < kRequestsEach; ++r) {
          const std::string ticker = tickerOf(i, r);
          run.sent.emplace(run.submit(profileRequest(standin, ticker)), ticker);
          if (r == kRequestsEach / 2) run.call();
        }
        run.collect();
      });
    }
    for (std::thread& thread : threads) thread.join();

    for (const std::unique_ptr<InstanceRun>& run : runs) {
      EXPECT_EQ(run->sent.size(), static_cast<std::size_t>(kRequestsEach));  // ids unique
      EXPECT_EQ(run->sent.count(0), 0u);                                     // none refused
      EXPECT_EQ(run->delivered.size(), run->sent.size());
      std::map<int32_t, int> times;
      for (const auto& [id, text] : run->delivered) {
        ++times[id];
        const auto asked = run->sent.find(id);
        ASSERT_NE(asked, run->sent.end()) << "answer to a request never sent: " << id;
        EXPECT_NE(text.find("\"ticker\":\"" + asked->second + "\""), std::string::npos)
            << asked->second << " got " << text.substr(0, 120);
      }
      for (const auto& [id, count] : times) EXPECT_EQ(count, 1) << "request " << id;
      EXPECT_EQ(run->instance.http().outstanding(), 0);
    }
  }
}

TEST(HttpFacilityThreadsTest, AFacilityGoingAwayMidTransferLeavesTheOthersAnswersIntact) {
  StandinProcess standin;
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::shared_ptr<CurlTransport> transport = transportTo(standin);
  auto leaving = std::make_unique<InstanceRun>(1);
  InstanceRun staying(2);
  leaving->instance.setHttpTransport(transport);
  staying.instance.setHttpTransport(transport);
  for (int r = 0; r < kRequestsEach; ++r) {
    leaving->submit(profileRequest(standin, tickerOf(1, r)));
    const std::string ticker = tickerOf(2, r);
    staying.sent.emplace(staying.submit(profileRequest(standin, ticker)), ticker);
  }
  std::thread goesAway([&leaving] { leaving.reset(); });
  staying.collect();
  goesAway.join();
  ASSERT_EQ(staying.delivered.size(), static_cast<std::size_t>(kRequestsEach));
  for (const auto& [id, text] : staying.delivered) {
    EXPECT_NE(text.find("\"ticker\":\"" + staying.sent[id] + "\""), std::string::npos) << id;
  }
}

TEST(HttpFacilityThreadsTest, InstancesAndTheirTransportGoAwayPromptlyWithTransfersInFlight) {
  // Every answer is held back far longer than the test may take.
  StandinProcess standin({"--fault", "slow", "--slow-seconds", "30"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  struct Case {
    const char* what;
    bool shared;
  };
  const Case cases[] = {{"the last instance to go takes the shared transport with it", true},
                        {"each instance takes its own transport with it", false}};
  for (const Case& c : cases) {
    std::shared_ptr<CurlTransport> common = c.shared ? transportTo(standin) : nullptr;
    std::vector<std::unique_ptr<InstanceRun>> runs;
    for (int i = 0; i < kInstances; ++i) {
      runs.push_back(std::make_unique<InstanceRun>(i + 1));
      runs.back()->instance.setHttpTransport(c.shared ? common : transportTo(standin));
      for (int r = 0; r < kRequestsEach; ++r) {
        EXPECT_NE(runs.back()->submit(profileRequest(standin, tickerOf(i, r))), 0) << c.what;
      }
    }
    common.reset();  // the instances hold the only references now
    std::this_thread::sleep_for(200ms);  // the requests reach the stand-in
    const auto before = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (std::unique_ptr<InstanceRun>& run : runs) {
      threads.emplace_back([&run] {
        EXPECT_GT(run->instance.http().outstanding(), 0);
        run.reset();
      });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 10s) << c.what;
  }
}

}  // namespace
