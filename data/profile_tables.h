// Sizing the float tables of a profile for a refill.
#pragma once

#include <cstddef>
#include <vector>

// Resizes `table` to `size` elements whose old values the refill overwrites.
// A table that fits keeps its block (no zero-fill, no allocation); one that
// does not is emptied first so the new block is exactly `size` long instead
// of a doubled one.
inline void resizeForRefill(std::vector<float>& table, size_t size) {
  if (size > table.capacity()) table.clear();
  table.resize(size);
}
