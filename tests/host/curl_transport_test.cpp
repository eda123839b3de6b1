// The libcurl transport's failure paths, against loopback sockets: a closed
// port, a server that never answers, URLs that are not https, headers that
// cannot be sent, and transfers still in flight when the transport goes; and
// against the stand-in, answers cut short after the service was reached, told
// apart from a service never reached.
#include "host/curl_transport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/standin_process.h"

using namespace chart_host;

namespace {

using namespace std::chrono_literals;

// Only a guard against a hang; every transfer here ends long before.
constexpr auto kHangGuard = 30s;

// A loopback TCP server that accepts every connection, keeps the first bytes
// each one sends and never answers.
class LoopbackListener {
 public:
  LoopbackListener() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd_, 16) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "no loopback listener";
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  // Transports go first, so no connection still waits to be read.
  ~LoopbackListener() {
    shutdown(fd_, SHUT_RDWR);  // wakes accept()
    thread_.join();
    for (int client : clients_) close(client);
    close(fd_);
  }

  int port() const { return port_; }
  int connections() const { return connections_; }
  std::string received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }

 private:
  void serve() {
    for (int client; (client = accept(fd_, nullptr, nullptr)) >= 0;) {
      clients_.push_back(client);
      ++connections_;
      char buffer[4096];
      const ssize_t got = recv(client, buffer, sizeof(buffer), 0);
      std::lock_guard<std::mutex> lock(mutex_);
      if (got > 0) received_.append(buffer, static_cast<std::size_t>(got));
    }
  }

  int fd_ = socket(AF_INET, SOCK_STREAM, 0);
  int port_ = 0;
  std::vector<int> clients_;  // serving thread only, until it is joined
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::string received_;
  std::thread thread_;
};

// A loopback port nobody listens on.
int closedLoopbackPort() {
  LoopbackListener bound;
  return bound.port();
}

// Collects outcomes from whichever thread the transport completes on.
class Outcomes {
 public:
  HttpTransport::Completion completion() {
    return [this](HttpOutcome outcome) {
      std::lock_guard<std::mutex> lock(mutex_);
      got_.push_back(std::move(outcome));
      arrived_.notify_all();
    };
  }
  bool waitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, kHangGuard, [&] { return got_.size() >= count; });
  }
  std::vector<HttpOutcome> all() {
    std::lock_guard<std::mutex> lock(mutex_);
    return got_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<HttpOutcome> got_;
};

HttpRequest requestTo(const std::string& url) {
  return HttpRequest{url, "", {{"Accept", "application/json"}}};
}

std::string loopbackUrl(const char* scheme, int port) {
  return std::string(scheme) + "://127.0.0.1:" + std::to_string(port) + "/v2/levels";
}

CurlTransportOptions shortTimeouts() {
  CurlTransportOptions options;
  options.connectTimeoutMs = 300;
  options.totalTimeoutMs = 300;
  return options;
}

TEST(CurlTransportTest, TransfersThatReachNoHttpsServerFail) {
  struct Case {
    const char* what;
    const char* scheme;
    bool listening;
    int connections;  // what the listener saw: only https is ever fetched
  };
  const Case cases[] = {
      {"closed port", "https", false, 0},
      {"server that never replies", "https", true, 1},
      {"plain http", "http", true, 0},
      {"another scheme", "ftp", true, 0},
  };
  for (const Case& c : cases) {
    LoopbackListener listener;
    const int port = c.listening ? listener.port() : closedLoopbackPort();
    Outcomes outcomes;
    CurlTransport transport(shortTimeouts());
    ASSERT_TRUE(transport.start(requestTo(loopbackUrl(c.scheme, port)), outcomes.completion()));
    ASSERT_TRUE(outcomes.waitFor(1)) << c.what;
    EXPECT_FALSE(outcomes.all()[0].delivered) << c.what;
    // A listener that never shakes hands is not the service either.
    EXPECT_EQ(outcomes.all()[0].failure, TransferFailure::ServiceNotReached) << c.what;
    EXPECT_EQ(listener.connections(), c.connections) << c.what;
  }
}

// Each broken answer of the stand-in, on a connection of its own and on one a
// delivered answer left open (libcurl reports no handshake time for that one).
TEST(CurlTransportTest, AnAnswerCutShortIsToldApartFromAServiceNeverReached) {
  struct Case {
    const char* fault;
    bool trusted;  // the stand-in's certificate given as the CA file
    bool delivered;
    TransferFailure failure;
  };
  const Case cases[] = {
      {"none", true, true, TransferFailure::ServiceNotReached},
      {"truncated", true, false, TransferFailure::AnswerCutShort},
      {"close", true, false, TransferFailure::AnswerCutShort},
      {"slow", true, false, TransferFailure::AnswerCutShort},
      {"none", false, false, TransferFailure::ServiceNotReached},
  };
  for (const Case& c : cases) {
    standin_test::StandinProcess standin(
        {"--fault", c.fault, "--fault-endpoint", "profile", "--slow-seconds", "3"});
    ASSERT_TRUE(standin.ready()) << standin.standardError();
    CurlTransportOptions options;
    options.totalTimeoutMs = 1000;
    if (c.trusted) options.caFile = standin.certificatePath();
    const HttpRequest profile{standin.url("/v2/sierra/SPX/classic/full"), "",
                              {{"Authorization", "Basic standin-key"}}};
    for (const bool reused : {false, true}) {
      SCOPED_TRACE(std::string(c.fault) + (c.trusted ? "" : ", untrusted") + (reused ? ", reused" : ""));
      CurlTransport transport(options);
      Outcomes outcomes;
      std::size_t expected = 1;
      if (reused && c.trusted) {
        // Any delivered answer leaves its connection for the next transfer.
        ASSERT_TRUE(transport.start(requestTo(standin.url("/v2/unknown")), outcomes.completion()));
        ASSERT_TRUE(outcomes.waitFor(expected++));
        ASSERT_TRUE(outcomes.all().back().delivered);
      }
      ASSERT_TRUE(transport.start(profile, outcomes.completion()));
      ASSERT_TRUE(outcomes.waitFor(expected));
      const HttpOutcome outcome = outcomes.all().back();
      EXPECT_EQ(outcome.delivered, c.delivered) << outcome.error;
      if (!c.delivered) {
        EXPECT_EQ(outcome.failure, c.failure) << outcome.error;
      }
    }
  }
}

TEST(CurlTransportTest, ConnectToSendsTheUrlsHostToTheGivenAddress) {
  LoopbackListener silent;
  CurlTransportOptions options = shortTimeouts();
  options.connectTo = {"levels.example:443:127.0.0.1:" + std::to_string(silent.port())};
  Outcomes outcomes;
  CurlTransport transport(options);
  ASSERT_TRUE(transport.start(requestTo("https://levels.example/v2"), outcomes.completion()));
  ASSERT_TRUE(outcomes.waitFor(1));
  EXPECT_FALSE(outcomes.all()[0].delivered);
  // A TLS handshake naming the URL's host, not the address.
  const std::string hello = silent.received();
  ASSERT_FALSE(hello.empty());
  EXPECT_EQ(hello[0], '\x16');
  EXPECT_NE(hello.find("levels.example"), std::string::npos);
}

TEST(CurlTransportTest, AHeaderThatWouldBreakItsLineFailsBeforeAnythingIsSent) {
  LoopbackListener silent;
  const std::pair<std::string, std::string> badHeaders[] = {
      {"X-a", "v\r\nX-injected: 1"}, {"X-a\nX-b", "v"}, {"X-a: b", "v"}, {"", "v"},
      {"X-a", "v\x01"}, {"X-a;b", "v"}};
  for (const auto& header : badHeaders) {
    Outcomes outcomes;
    CurlTransport transport(shortTimeouts());
    HttpRequest request = requestTo(loopbackUrl("https", silent.port()));
    request.headers.push_back(header);
    EXPECT_TRUE(transport.start(request, outcomes.completion()));
    ASSERT_EQ(outcomes.all().size(), 1u) << header.first;  // completed inside start
    EXPECT_FALSE(outcomes.all()[0].delivered);
  }
  EXPECT_EQ(silent.connections(), 0);
}

TEST(CurlTransportTest, GoingAwayFailsEveryTransferStillInFlight) {
  LoopbackListener silent;
  Outcomes outcomes;
  CurlTransportOptions options;
  options.connectTimeoutMs = 120000;
  options.totalTimeoutMs = 120000;
  auto transport = std::make_unique<CurlTransport>(options);
  constexpr int kTransfers = 3;
  for (int i = 0; i < kTransfers; ++i) {
    ASSERT_TRUE(transport->start(requestTo(loopbackUrl("https", silent.port())),
                                 outcomes.completion()));
  }
  const auto guard = std::chrono::steady_clock::now() + kHangGuard;
  while (silent.connections() < kTransfers && std::chrono::steady_clock::now() < guard) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(outcomes.all().empty());
  transport.reset();
  const std::vector<HttpOutcome> all = outcomes.all();
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kTransfers));
  for (const HttpOutcome& outcome : all) EXPECT_FALSE(outcome.delivered);
}

}  // namespace
