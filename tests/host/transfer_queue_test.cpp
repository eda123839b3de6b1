// The hand-over between the threads that start transfers and a transport's
// worker: nothing taken after closing, nothing lost by closing.
#include "host/transfer_queue.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <optional>
#include <thread>

using namespace chart_host;

namespace {

TEST(TransferQueue, HandsOverInOrderUntilClosedAndKeepsWhatIsLeft) {
  TransferQueue<std::unique_ptr<int>> queue;
  EXPECT_TRUE(queue.put(std::make_unique<int>(1)));
  EXPECT_TRUE(queue.put(std::make_unique<int>(2)));
  EXPECT_TRUE(queue.put(std::make_unique<int>(3)));
  std::optional<std::unique_ptr<int>> first = queue.waitForNext();
  ASSERT_TRUE(first);
  EXPECT_EQ(**first, 1);

  auto taken = queue.takeAll();
  EXPECT_FALSE(taken.closed);
  ASSERT_EQ(taken.transfers.size(), 2u);
  EXPECT_EQ(*taken.transfers[0], 2);
  EXPECT_EQ(*taken.transfers[1], 3);

  EXPECT_TRUE(queue.put(std::make_unique<int>(4)));
  queue.close();
  EXPECT_TRUE(queue.closed());
  EXPECT_FALSE(queue.put(std::make_unique<int>(5)));
  // Closed: the worker stops waiting, and what was put before is still there
  // for it to complete as failed.
  EXPECT_FALSE(queue.waitForNext());
  taken = queue.takeAll();
  EXPECT_TRUE(taken.closed);
  ASSERT_EQ(taken.transfers.size(), 1u);
  EXPECT_EQ(*taken.transfers[0], 4);
}

TEST(TransferQueue, AWaitingWorkerWakesForATransferAndForClosing) {
  TransferQueue<int> queue;
  std::promise<std::optional<int>> received;
  std::promise<bool> stopped;
  std::thread worker([&] {
    received.set_value(queue.waitForNext());
    stopped.set_value(!queue.waitForNext().has_value());
  });
  EXPECT_TRUE(queue.put(7));
  EXPECT_EQ(received.get_future().get(), 7);
  queue.close();
  EXPECT_TRUE(stopped.get_future().get());
  worker.join();
}

}  // namespace
