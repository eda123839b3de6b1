// The system's clock, shown in a chart's time zone; waiting sleeps.
#pragma once

#include "host/chart.h"
#include "tools/chart/run/clock.h"

namespace chart_tool::run {

class RealClock : public Clock {
 public:
  // The chart must outlive the clock; its zone converts the system's UTC.
  explicit RealClock(const chart_host::Chart& chart) : chart_(chart) {}
  HostDateTime now() const override;
  // Returns early when the program is interrupted (tools/support/interrupts.h);
  // does the work asked meanwhile (waitWork) as it waits.
  void waitUntil(HostDateTime time) override;
  bool simulated() const override { return false; }
  WaitWork* waitWork() override { return &waitWork_; }

 private:
  const chart_host::Chart& chart_;
  WaitWork waitWork_;
};

}  // namespace chart_tool::run
