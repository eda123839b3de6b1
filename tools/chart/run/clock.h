// What a chart session takes its time from: the real clock, or a simulated
// one that stands still between calls and moves only when the session waits
// (runs, replays and the demo then take seconds and repeat exactly). Times
// are the chart's wall-clock times. Not thread-safe: one session uses one.
#pragma once

#include "study/host_interface.h"
#include "tools/chart/run/wait_work.h"

namespace chart_tool::run {

class Clock {
 public:
  virtual ~Clock() = default;
  // The chart's wall-clock time now.
  virtual HostDateTime now() const = 0;
  // Returns once the clock shows `time` or later; a time already passed
  // returns at once.
  virtual void waitUntil(HostDateTime time) = 0;
  // True when time moves only by waitUntil. The study is then made to wait
  // for each answer, which comes on the call after its request whatever the
  // network's speed; a simulated clock may only face a stand-in or a
  // recording, never the real service.
  virtual bool simulated() const = 0;
  // Work other threads may ask of the run's thread while it waits: null on
  // a simulated clock, which never waits for real.
  virtual WaitWork* waitWork() { return nullptr; }
};

}  // namespace chart_tool::run
