#include "bench/chart_setup.h"

void appendMinuteBars(Chart& chart, int count) {
  constexpr HostDateTime kMinute = 60LL * 1000000;
  for (int i = 0; i < count; ++i) {
    const float price = 5800.0f + static_cast<float>(i);
    chart.appendBar(Bar{kBenchCallTime - (count - 1 - i) * kMinute, price, price + 1, price - 1,
                        price, 100});
  }
}

CallSettings ordinaryCallSettings() {
  CallSettings settings;
  settings.currentDateTime = kBenchCallTime;
  settings.clockDateTime = kBenchCallTime;
  return settings;
}
