// The drawings placed on one chart, owned by the chart. Each has a line number
// the store assigns (1, 2, ...), never reused, and remembers the study
// instance that placed it. Not thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "study/host_interface.h"

namespace chart_host {

struct ChartDrawing {
  HostDrawingRecord record;  // labelText is always empty here; see label
  std::string label;
};

class ChartDrawings {
 public:
  // Adds the record as a new drawing, or replaces the drawing with the
  // record's line number. A line number that names no drawing (the user
  // removed it) adds a new one. The line number is written back. Returns 1.
  int32_t add(HostDrawingRecord& record, int32_t ownerStudyId);
  // Copies the drawing at `index` (in line-number order) out into `record`,
  // label included; false when there is none.
  bool copyOut(int32_t index, HostDrawingRecord& record) const;
  bool remove(int32_t lineNumber);
  // Removes the drawings `ownerStudyId` placed; returns how many.
  int32_t removeOwnedBy(int32_t ownerStudyId);
  const ChartDrawing* find(int32_t lineNumber) const;
  const std::vector<ChartDrawing>& all() const { return drawings_; }

 private:
  std::vector<ChartDrawing> drawings_;  // ascending line numbers
  int32_t lastLineNumber_ = 0;
};

}  // namespace chart_host
