#include "bench/repaint_instruction_loops.h"

#include <cstdio>
#include <vector>

#include "bench/value_sort_floor.h"

// As in instruction_loops.cpp: whole, apart, under one name for callgrind.
#if defined(__GNUC__) && !defined(__clang__)
#define COUNTED_LOOP __attribute__((noipa))
#else
#define COUNTED_LOOP __attribute__((noinline))
#endif

COUNTED_LOOP void repaintLoop(RepaintScene& scene, int passes) {
  for (int pass = 0; pass < passes; ++pass) {
    for (std::size_t i = 0; i < scene.size(); ++i) scene.repaint(i);
  }
}

COUNTED_LOOP void sortFloorLoop(const RepaintScene& scene, int passes) {
  std::vector<float> scratch;
  for (int pass = 0; pass < passes; ++pass) {
    for (std::size_t i = 0; i < scene.size(); ++i) sortSeriesValues(scene.profile(i), scratch);
  }
}

int runRepaintInstructionLoops() {
  RepaintScene& scene = repaintScene(kInstructionStrikes);
  if (!scene.problem().empty()) {
    std::fprintf(stderr, "tarvio_bench: %s\n", scene.problem().c_str());
    return 1;
  }
  sortFloorLoop(scene, kRepaintInstructionPasses);
  repaintLoop(scene, kRepaintInstructionPasses);
  std::printf("gex both, %d strikes: %zu profiles sorted and repainted %d times each\n",
              kInstructionStrikes, scene.size(), kRepaintInstructionPasses);
  return 0;
}
