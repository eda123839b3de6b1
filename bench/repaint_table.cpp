#include "bench/repaint_table.h"

#include <cstdio>

void printRepaintTable(const std::vector<RepaintMeasurement>& measurements,
                       const RatioReporter& reporter, FigureLog& figures) {
  bool headed = false;
  for (const RepaintMeasurement& set : measurements) {
    const auto repaint = reporter.cpuNanoseconds(set.repaintName);
    const auto floor = reporter.cpuNanoseconds(set.sortFloorName);
    if (!repaint || !floor) continue;
    if (!headed) {
      std::printf("\nGEX Both repaint over a sort of both series' values (median CPU time)\n");
      std::printf("%7s %11s %9s %9s %15s\n", "strikes", "repaint us", "sort us", "repaint/",
                  "repaint ns/strike");
      std::printf("%7s %11s %9s %9s\n", "", "", "", "sort");
      headed = true;
    }
    const double ratio = *repaint / *floor;
    std::printf("%7d %11.1f %9.1f %9.3f %15.1f\n", set.strikes, *repaint / 1000, *floor / 1000,
                ratio, *repaint / set.strikes);
    figures.record("repaint_us", ProfileKind::Gex, set.strikes, *repaint / 1000);
    figures.record("repaint_floor_us", ProfileKind::Gex, set.strikes, *floor / 1000);
    figures.record("repaint_ratio", ProfileKind::Gex, set.strikes, ratio);
  }
  std::fflush(stdout);
}
