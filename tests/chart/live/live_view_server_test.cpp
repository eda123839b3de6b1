// The live view's server on a loopback port with small limits, driven by
// hand-made connections: those that never finish their headers are cut at
// the deadline and pushed out at the cap while requests are still answered,
// and the library tells of every connection before it closes its socket (a
// socket number used again after is never cut by mistake).
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>
#include <vector>

#include "integration/plain_http.h"
#include "tools/chart/live/live_view_server.h"

namespace {

using namespace chart_tool::live;
using namespace std::chrono_literals;

TEST(LiveViewServer, CutsLateAndPushedOutConnectionsAndIsToldOfEachBeforeItsSocketCloses) {
  LiveBoard board;
  board.publish("{}", "picture");
  std::string error;
  const ConnectionLimits limits{8, 400ms};
  std::unique_ptr<LiveViewServer> server =
      LiveViewServer::start(*readServeAddress("127.0.0.1:0"), {}, board, error, limits);
  ASSERT_TRUE(server) << error;
  const int port = server->port();
  const std::string half = "GET /status.json HTTP/1.1\r\nHost: 127.0.0.1\r\n";

  // Rounds of connections: silent, half sent, closed by the client at once;
  // more held than the cap each round, so the oldest are pushed out. Socket
  // numbers come round again on both sides.
  for (int round = 0; round < 6; ++round) {
    std::vector<int> held;
    for (std::size_t i = 0; i < limits.connections * 2; ++i) {
      const int fd = live_test::openIdleConnection(port);
      if (i % 3 == 1) live_test::sendText(fd, half);
      if (i % 3 == 2) {
        live_test::closeConnection(fd);
      } else {
        held.push_back(fd);
      }
      std::this_thread::sleep_for(5ms);
    }
    const live_test::HttpExchange answer = live_test::askServer(port, live_test::requestText("GET", "/status.json"));
    EXPECT_EQ(answer.status, 200) << "round " << round;
    std::this_thread::sleep_for(600ms);  // past the deadline: every held one is cut
    for (const int fd : held) {
      char byte = 0;
      EXPECT_LE(recv(fd, &byte, 1, MSG_DONTWAIT), 0) << "a connection outlived its headers' deadline";
      live_test::closeConnection(fd);
    }
  }
  std::this_thread::sleep_for(300ms);
  const ConnectionCounts counts = server->connectionCounts();
  EXPECT_EQ(counts.unseen, 0u);
  EXPECT_GT(counts.late, 0u);
  EXPECT_GT(counts.pushedOut, 0u);
  EXPECT_EQ(counts.refused, 0u);
  EXPECT_EQ(counts.open, 0u);
}

}  // namespace
