#include "bench/repaint_benchmarks.h"

#include <benchmark/benchmark.h>

#include "bench/repaint_scene.h"
#include "bench/value_sort_floor.h"

namespace {

void sortFloor(benchmark::State& state, RepaintScene& scene) {
  std::vector<float> scratch;
  std::size_t next = 0;
  for (auto _ : state) {
    sortSeriesValues(scene.profile(next), scratch);
    next = (next + 1) % scene.size();
  }
}

void repaint(benchmark::State& state, RepaintScene& scene) {
  std::size_t next = 0;
  for (auto _ : state) {
    scene.repaint(next);
    next = (next + 1) % scene.size();
  }
}

// The scene is built on the first call, before any timed iteration.
template <void (*Measure)(benchmark::State&, RepaintScene&)>
void measureScene(benchmark::State& state, int strikes) {
  RepaintScene& scene = repaintScene(strikes);
  if (!scene.problem().empty()) {
    state.SkipWithError(scene.problem().c_str());
    return;
  }
  Measure(state, scene);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * strikes);
}

}  // namespace

std::vector<RepaintMeasurement> registerRepaintBenchmarks() {
  std::vector<RepaintMeasurement> measurements;
  for (int strikes : kRepaintStrikeCounts) {
    const std::string stem = "gex_both/" + std::to_string(strikes);
    RepaintMeasurement set{strikes, stem + "/repaint", stem + "/sort_floor"};
    benchmark::RegisterBenchmark(set.sortFloorName.c_str(), measureScene<sortFloor>, strikes)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(set.repaintName.c_str(), measureScene<repaint>, strikes)
        ->Unit(benchmark::kMicrosecond);
    measurements.push_back(set);
  }
  return measurements;
}
