// The pages' /events streams on a loopback server of two charts: a
// publication reaches an open stream at once; a quiet stream gets
// keep-alives and outlives the headers' deadline and the idle timeout's
// share of it; streams have their own cap; a stream whose browser went away
// is let go; stopping the server ends every stream promptly.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include "integration/plain_http.h"
#include "tools/chart/live/live_view_server.h"

namespace {

using namespace chart_tool::live;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Reads the connection until `text` has come after `from`, the connection
// ends or the time is up; whether it came.
bool readUntil(int fd, std::string& got, const std::string& text, std::chrono::milliseconds within,
               std::size_t from = 0) {
  const auto until = Clock::now() + within;
  while (got.find(text, from) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    pollfd waiting{fd, POLLIN, 0};
    if (left <= 0 || poll(&waiting, 1, static_cast<int>(left)) <= 0) return false;
    char buffer[4096];
    const ssize_t count = recv(fd, buffer, sizeof buffer, 0);
    if (count <= 0) return false;
    got.append(buffer, static_cast<std::size_t>(count));
  }
  return true;
}

// Whether the server ended the connection within the time.
bool endsWithin(int fd, std::chrono::milliseconds within) {
  std::string rest;
  readUntil(fd, rest, "\x01never sent\x01", within);
  char byte = 0;
  return recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

int openStream(int port) {
  const int fd = live_test::openIdleConnection(port);
  live_test::sendText(fd, "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  return fd;
}

TEST(EventStreams, APublicationReachesAnOpenStreamAtOnceQuietOnesAreKeptAliveAndHaveACapOfTheirOwn) {
  LiveBoard es, nq;
  const ConnectionLimits limits{8, 400ms, 2, 300ms};
  std::string error;
  std::unique_ptr<LiveViewServer> server = LiveViewServer::start(
      *readServeAddress("127.0.0.1:0"), {}, {ServedChart{"ES", &es}, ServedChart{"NQ", &nq}}, error, limits);
  ASSERT_TRUE(server) << error;
  const int port = server->port();

  const int first = openStream(port);
  std::string got;
  ASSERT_TRUE(readUntil(first, got, "\"chart\":\"NQ\"", 2s)) << got;  // where each chart stands
  EXPECT_NE(got.find("Content-Type: text/event-stream"), std::string::npos) << got;
  EXPECT_NE(got.find("Cache-Control: no-store"), std::string::npos) << got;
  EXPECT_NE(got.find("\"chart\":\"ES\""), std::string::npos) << got;

  // A change of one chart, then a status of the other: each told, in turn.
  std::size_t seen = got.size();
  es.publish("{}", "PNG");
  EXPECT_TRUE(readUntil(first, got, "\"chart\":\"ES\",\"index\":0,\"publications\":1,\"pictures\":1,"
                                    "\"pictureChanged\":true", 2s, seen)) << got.substr(seen);
  seen = got.size();
  nq.publishStatus("{}");
  EXPECT_TRUE(readUntil(first, got, "\"chart\":\"NQ\",\"index\":1,\"publications\":1,\"pictures\":0,"
                                    "\"pictureChanged\":false", 2s, seen)) << got.substr(seen);

  // Quiet past the headers' deadline many times over: kept alive, never cut.
  seen = got.size();
  std::this_thread::sleep_for(1200ms);
  EXPECT_TRUE(readUntil(first, got, ": keep-alive", 1s, seen)) << got.substr(seen);
  seen = got.size();
  nq.publish("{}", "PNG");
  EXPECT_TRUE(readUntil(first, got, "\"chart\":\"NQ\",\"index\":1,\"publications\":2", 2s, seen)) << got.substr(seen);
  EXPECT_EQ(server->connectionCounts().late, 0u);

  // The streams' cap: a third is refused with when to try again, while
  // the page's other requests are answered.
  const int second = openStream(port);
  std::string secondGot;
  ASSERT_TRUE(readUntil(second, secondGot, "\"chart\":\"NQ\"", 2s)) << secondGot;
  const live_test::HttpExchange refused = live_test::askServer(port, live_test::requestText("GET", "/events"));
  EXPECT_EQ(refused.status, 503);
  EXPECT_EQ(refused.header("Retry-After"), "5");
  EXPECT_EQ(live_test::askServer(port, live_test::requestText("GET", "/status.json")).status, 200);

  // A browser gone away is noticed at the next keep-alive, and makes room.
  live_test::closeConnection(second);
  const auto until = Clock::now() + 3s;
  while (server->eventStreams() > 1 && Clock::now() < until) std::this_thread::sleep_for(20ms);
  EXPECT_EQ(server->eventStreams(), 1u);
  const int third = openStream(port);
  std::string thirdGot;
  EXPECT_TRUE(readUntil(third, thirdGot, "\"chart\":\"NQ\"", 2s)) << thirdGot;

  // Stopping ends both streams at once, whatever the browsers do.
  const auto stopping = Clock::now();
  server.reset();
  EXPECT_LT(Clock::now() - stopping, 1500ms);
  EXPECT_TRUE(endsWithin(first, 1s));
  EXPECT_TRUE(endsWithin(third, 1s));
  live_test::closeConnection(first);
  live_test::closeConnection(third);
  // The boards outlive the server and are left alone by it.
  es.publish("{}", "after");
}

}  // namespace
