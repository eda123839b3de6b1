// What a chart run will do before it starts: when it calls the study (the
// options' span, or by default 45 minutes from 10:15 on the last weekday
// before today, or up to --end when that comes first) and on which bars (a
// file, or a random walk that reaches the last call), and whether the two
// meet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/chart.h"
#include "tools/chart/inputs/bar_file.h"
#include "tools/chart/inputs/synthetic_bars.h"
#include "tools/chart/command_line/run_plan.h"

namespace chart_tool {

using chart_host::Bar;
using chart_host::Chart;

}  // namespace chart_tool

namespace chart_tool::run {

using namespace chart_tool::command_line;
using namespace chart_tool::inputs;

// When the calls come: every step from first to last, or, for a replay of a
// recording of calls, at the recorded times.
struct CallSpan {
  HostDateTime first = 0;  // chart time of the first call
  HostDateTime last = 0;   // no call after this
  int64_t step_us = kMicrosecondsPerSecond;
  std::vector<HostDateTime> times;  // the recorded times; empty: every step

  int64_t calls() const {
    return times.empty() ? (last - first) / step_us + 1 : static_cast<int64_t>(times.size());
  }
  // The time of call `index`, from 0.
  HostDateTime timeOf(int64_t index) const {
    return times.empty() ? first + index * step_us : times[static_cast<std::size_t>(index)];
  }
};

// The span of calls; `today` is the chart's time now on the real clock.
CallSpan callSpanOf(const ClockSettings& clock, HostDateTime today);

// The made-up bars of a run without a bars file: on the simulated clock
// enough to reach the last call, on the real clock up to the one forming at
// the first call (a SyntheticBarsFeed forms the later ones).
SyntheticBarsPlan syntheticBarsPlan(const ChartPlan& chart, bool realClock, const CallSpan& span);

// The bars the run may show, with the lines of a bars file skipped, or
// false with the reason (the bars file's).
bool loadBars(const ChartPlan& plan, const ClockSettings& clock, const Chart& chart, const CallSpan& span,
              BarText& bars, std::string& error);

// What a run on the simulated clock would make of its bars: an error when no
// call would see the bars, or all of them come after the last bar ended (the
// chart would be empty or stand still), with the --start that would meet
// them; a warning when the first calls come before the first bar and see an
// empty chart. Both empty when the span and the bars meet. The real clock
// shows every bar from the start: only a warning when the bars ended long
// before now, as the live levels would be drawn beside past prices.
struct SpanAndBars {
  std::string error;
  std::string warning;
};
SpanAndBars checkSpanMeetsBars(const ClockSettings& clock, const CallSpan& span, const std::vector<Bar>& bars);

}  // namespace chart_tool::run
