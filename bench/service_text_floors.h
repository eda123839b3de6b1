// The floors of the readers of service text: what any reader must at least
// do with the same bytes. A RapidJSON parse under the parse flags the module
// uses, then a plain read of the members the reader uses, with no host calls
// and nothing written anywhere.
#pragma once

#include <cstddef>

struct HistoryFloorReading {
  bool parsed = false;
  int snapshots = 0;  // elements that are objects with an integer "timestamp"
  double levelSum = 0;
};

// Walks the array reading "timestamp" and the three levels of every element.
HistoryFloorReading readHistoryFloor(const char* text);

struct ConversionFloorReading {
  bool parsed = false;
  double multiplier = 0;
  double additive = 0;
  std::size_t contractLength = 0;
};

// Reads "multiplier", "additive" and "future_contract" of the root object.
ConversionFloorReading readConversionFloor(const char* text);
