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
  // Returns early when the program is interrupted (tools/support/interrupts.h).
  void waitUntil(HostDateTime time) override;
  bool simulated() const override { return false; }

 private:
  const chart_host::Chart& chart_;
};

}  // namespace chart_tool::run
