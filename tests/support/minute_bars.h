// Charts of one-minute bars at chosen New York times, and the settings of an
// ordinary call at a chosen time: what every chart with the study on it in
// tests, fuzzers and benchmarks is built from.
#pragma once

#include "host/chart.h"
#include "host/study_instance.h"

using namespace chart_host;

// 2026-03-02 (a Monday) 00:00 as a HostDateTime: days since 1899-12-30.
inline constexpr HostDateTime kMonday2026_03_02 = 46083LL * kMicrosecondsPerDay;
inline constexpr HostDateTime kBarMinute = 60LL * 1000000;

constexpr HostDateTime atTimeOfDay(HostDateTime day, int hours, int minutes, int seconds = 0) {
  return day + ((hours * 60LL + minutes) * 60LL + seconds) * 1000000LL;
}

// `count` bars a minute apart from `first`, the n-th at firstPrice + n.
inline void appendMinuteBars(Chart& chart, HostDateTime first, int count, float firstPrice) {
  for (int i = 0; i < count; ++i) {
    const float price = firstPrice + static_cast<float>(i);
    chart.appendBar(Bar{first + i * kBarMinute, price, price + 1, price - 1, price, 100});
  }
}

// An ordinary call whose chart time and clock both read `at`.
inline CallSettings callAt(HostDateTime at, bool fullRecalculation = false) {
  CallSettings settings;
  settings.currentDateTime = at;
  settings.clockDateTime = at;
  settings.fullRecalculation = fullRecalculation;
  return settings;
}
