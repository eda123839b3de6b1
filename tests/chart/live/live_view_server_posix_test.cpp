// The live view's server on a loopback port with small limits, driven by
// hand-made connections: those that never finish their headers are cut at
// the deadline and pushed out at the cap while requests are still answered,
// and the library tells of every connection before it closes its socket (a
// socket number used again after is never cut by mistake); a picture at a
// new size is waited for without holding up the rest.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <atomic>
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

// A request for a picture at a new size is held, without holding up the
// others, until the run's thread has drawn it; when it does not within 2 s
// the request gets the nearest size drawn; a held request does not keep the
// server from stopping.
TEST(LiveViewServer, HoldsARequestForANewSizeUntilTheRunsThreadDrawsItOrItsWaitIsOver) {
  LiveBoard board;
  board.publish("{}", "run's size");
  std::atomic<bool> drawing{true};
  std::atomic<int> wanted{0};
  std::string error;
  std::unique_ptr<LiveViewServer> server = LiveViewServer::start(*readServeAddress("127.0.0.1:0"), {}, board, error);
  ASSERT_TRUE(server) << error;
  const int port = server->port();
  // The run's thread, told a size is wanted, draws it a moment later.
  std::thread run([&] {
    while (drawing) {
      if (wanted.exchange(0) > 0) {
        std::this_thread::sleep_for(300ms);
        for (const PictureSize& size : board.sizesToDraw())
          board.publishSized(size, std::to_string(size.width_px) + "x" + std::to_string(size.height_px));
      }
      std::this_thread::sleep_for(10ms);
    }
  });
  board.setOnWanted([&] { ++wanted; });
  auto ask = [&](const std::string& path) {
    return live_test::askServer(port, live_test::requestText("GET", path), 8).body;
  };
  std::string held;
  std::thread waiting([&] { held = ask("/chart.png?w=641&h=479&change=2"); });
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(ask("/status.json"), "{}");  // answered while the picture is drawn
  waiting.join();
  EXPECT_EQ(held, "640x480");
  EXPECT_EQ(ask("/chart.png?w=640&h=480"), "640x480");
  EXPECT_EQ(ask("/chart.png"), "run's size");

  // The run's thread draws no more: the nearest size drawn, after the wait.
  drawing = false;
  run.join();
  EXPECT_EQ(ask("/chart.png?w=800&h=500"), "640x480");
  // A change: older pictures are not sent, the run's own is the nearest.
  board.publish("{}", "run's size 2");
  EXPECT_EQ(ask("/chart.png?w=640&h=480"), "run's size 2");

  std::thread stillHeld([&] { held = ask("/chart.png?w=1024&h=768"); });
  std::this_thread::sleep_for(300ms);
  const auto stopping = std::chrono::steady_clock::now();
  server.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - stopping, 1500ms);
  stillHeld.join();
}

}  // namespace
