// The timed repaints: one repaint of the GEX "Both" family through a host
// whose graphics operations do nothing, against its floor, a plain sort of
// the values of both series, at each size. The repaint must rank every
// series by value, so no drawing of it can cost less than that sort; the
// ratio says how much the rest of the repaint adds.
#pragma once

#include <string>
#include <vector>

inline constexpr int kRepaintStrikeCounts[] = {500, 2000, 5000};

struct RepaintMeasurement {
  int strikes;
  std::string repaintName;
  std::string sortFloorName;
};

// Registers every pair with Google Benchmark, floor first; returns them in
// that order.
std::vector<RepaintMeasurement> registerRepaintBenchmarks();
