// A clock that shows the time it was last moved to: it starts at a chosen
// time and jumps forward whenever it is waited on, never back.
#pragma once

#include "tools/chart/run/clock.h"

namespace chart_tool::run {

class SimulatedClock : public Clock {
 public:
  explicit SimulatedClock(HostDateTime start) : now_(start) {}
  HostDateTime now() const override { return now_; }
  void waitUntil(HostDateTime time) override {
    if (time > now_) now_ = time;
  }
  bool simulated() const override { return true; }

 private:
  HostDateTime now_;
};

}  // namespace chart_tool::run
