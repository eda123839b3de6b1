// What the host-driven benchmarks share: a chart with a few bars near the
// generated spot prices, and the settings of an ordinary call at a time inside
// the study's default request window, so a call takes its everyday path.
#pragma once

#include "host/chart.h"
#include "host/study_instance.h"

using namespace chart_host;

// Monday 2026-03-02, 10:00 New York time, in the chart's zone.
inline constexpr HostDateTime kBenchCallTime = 46083LL * kMicrosecondsPerDay + 10LL * 3600 * 1000000;

// One-minute bars ending at kBenchCallTime.
void appendMinuteBars(Chart& chart, int count);

// An ordinary update at kBenchCallTime: no recalculation, no answer delivered.
CallSettings ordinaryCallSettings();
