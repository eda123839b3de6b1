// The timed sets: for each kind and size, a bare RapidJSON parse of the
// bodies (the floor no parser can beat), the project's strict JSON parse
// alone, and parse-and-fill through the profile parser. Each result reads as
// a ratio to its floor, and the middle one shows how much of the difference
// is the acceptance rules of the JSON parse rather than the filling.
#pragma once

#include <string>
#include <vector>

#include "bench/profile_response_generator.h"

inline constexpr int kMeasuredRowCounts[] = {100, 500, 2000, 5000};

struct ParseMeasurement {
  ProfileKind kind;
  int rows;
  std::string bareParseName;
  std::string strictParseName;
  std::string parseAndFillName;
};

// Registers every set with Google Benchmark, floor first; returns them in that
// order.
std::vector<ParseMeasurement> registerParseBenchmarks();
