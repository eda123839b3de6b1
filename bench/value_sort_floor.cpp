#include "bench/value_sort_floor.h"

#include <benchmark/benchmark.h>

#include <algorithm>

void sortSeriesValues(const GexProfile& profile, std::vector<float>& scratch) {
  for (const std::vector<float>* series : {&profile.gex_vol, &profile.gex_oi}) {
    scratch.assign(series->begin(), series->end());
    std::sort(scratch.begin(), scratch.end());
    // Each sort's result counts, not only the last one.
    benchmark::DoNotOptimize(scratch.data());
    benchmark::ClobberMemory();
  }
}
