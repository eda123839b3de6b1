// Work other threads ask of the run's one thread, done while it waits for
// the next call on the real clock: the live view's pictures at the sizes
// pages ask for, as only the run's thread may draw the chart. The work is
// set once before the calls begin and is done on the run's thread only.
// Thread-safe: ask() from any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace chart_tool::run {

class WaitWork {
 public:
  void setWork(std::function<void()> work);
  // The work is wanted: a wait under way is woken for it.
  void ask();
  // Waits up to `longest`, or until asked, and then does the work if it was
  // asked for.
  void napFor(std::chrono::microseconds longest);

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool asked_ = false;
  std::function<void()> work_;
};

}  // namespace chart_tool::run
