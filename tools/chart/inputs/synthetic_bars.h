// Made-up price bars for runs without a bars file: a seeded random walk, so
// the same settings always give the same chart.
#pragma once

#include <cstdint>
#include <vector>

#include "host/chart.h"

namespace chart_tool {

using chart_host::Bar;

}  // namespace chart_tool

namespace chart_tool::inputs {

struct SyntheticBarsPlan {
  HostDateTime firstBar = 0;          // start of the first bar, chart time
  int64_t barMicroseconds = kMicrosecondsPerMinute;
  int32_t count = 120;
  float startPrice = 5800.0f;
  float tickSize = 0.25f;   // prices land on whole ticks
  uint64_t seed = 1;
};

std::vector<Bar> makeSyntheticBars(const SyntheticBarsPlan& plan);

// Made-up bars on the real clock: the walk goes on, one bar each bar period
// as the clock passes its start, so the chart moves as a market would.
class SyntheticBarsFeed {
 public:
  explicit SyntheticBarsFeed(SyntheticBarsPlan plan) : plan_(plan) {}
  // Every bar up to the one begun by `now` when a new one began since the
  // last time, else none.
  std::vector<Bar> barsUpTo(HostDateTime now);

 private:
  SyntheticBarsPlan plan_;
};

}  // namespace chart_tool::inputs
