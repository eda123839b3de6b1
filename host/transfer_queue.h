// Transfers on their way from the threads that start them to a transport's
// one worker thread. Once closed, when the transport is going away, it takes
// nothing more; what it still holds is for the worker to complete as failed,
// so every transfer it took gets its one completion. Safe from any thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace chart_host {

template <class Transfer>
class TransferQueue {
 public:
  struct Taken {
    std::deque<Transfer> transfers;  // oldest first
    bool closed = false;
  };

  // False, with the transfer dropped, once the queue is closed.
  bool put(Transfer transfer) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (closed_) return false;
      waiting_.push_back(std::move(transfer));
    }
    changed_.notify_one();
    return true;
  }

  void close() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closed_ = true;
    }
    changed_.notify_all();
  }

  bool closed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
  }

  // Everything waiting, and whether the queue was closed by then: a
  // transfer put later finds it open and is taken by a later call.
  Taken takeAll() {
    std::lock_guard<std::mutex> lock(mutex_);
    return Taken{std::exchange(waiting_, {}), closed_};
  }

  // Blocks until a transfer waits or the queue is closed: the oldest
  // transfer, or nothing once closed (the rest stays for takeAll).
  std::optional<Transfer> waitForNext() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || !waiting_.empty(); });
    if (closed_) return std::nullopt;
    Transfer next = std::move(waiting_.front());
    waiting_.pop_front();
    return next;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Transfer> waiting_;  // guarded by mutex_
  bool closed_ = false;           // guarded by mutex_
};

}  // namespace chart_host
