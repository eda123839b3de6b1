// The timed readers of service text, each against its floor (a RapidJSON
// parse of the same bytes and a plain read of the members the reader uses):
// the majors history of one and of four trading days, read into the level series
// of a chart, and the futures conversion, read into the two premium inputs.
// Both readers run inside an ordinary study call, with the host's operations.
#pragma once

#include <string>
#include <vector>

struct ServiceTextMeasurement {
  const char* reader;  // "majors" or "conv", the summary's kind column
  int snapshots;       // 0 for the conversion
  std::string readerName;
  std::string floorName;
};

// Registers every pair with Google Benchmark, floor first; returns them in
// that order.
std::vector<ServiceTextMeasurement> registerServiceTextBenchmarks();
