#include "tools/chart/run/wait_work.h"

namespace chart_tool::run {

void WaitWork::setWork(std::function<void()> work) {
  std::lock_guard lock(mutex_);
  work_ = std::move(work);
}

void WaitWork::ask() {
  {
    std::lock_guard lock(mutex_);
    asked_ = true;
  }
  woken_.notify_one();
}

void WaitWork::napFor(std::chrono::microseconds longest) {
  std::function<void()> work;
  {
    std::unique_lock lock(mutex_);
    woken_.wait_for(lock, longest, [this] { return asked_; });
    if (!asked_) return;
    asked_ = false;
    work = work_;
  }
  // Outside the lock: the work may take a while, and asks meanwhile are kept.
  if (work) work();
}

}  // namespace chart_tool::run
