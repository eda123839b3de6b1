#include "study/drawing_cleanup.h"

#include <cstdint>

#include "study/instance_state.h"

namespace tarvio {

namespace {

constexpr int32_t kMaxSweepDeletions = 10000;
constexpr int32_t kMaxSweepFetches = 20000;

bool isLeftoverKind(int32_t kind) { return kind == 12 || kind == 39; }

}  // namespace

void deleteKeptDrawings(HostStudyInterface& sc) {
  const int32_t lastKey = sc.ops.HostPersistentInt(kLastDrawingKeyKey);
  // 64-bit counter: a last key of INT32_MAX must not overflow the loop.
  for (int64_t key = kFirstDrawingKey; key <= lastKey; ++key) {
    const int32_t k = static_cast<int32_t>(key);
    const int32_t lineNumber = sc.ops.HostPersistentInt(k);
    if (lineNumber == 0) continue;
    sc.ops.HostDeleteDrawing(sc.chartNumber, lineNumber);
    sc.ops.HostSetPersistentInt(k, 0);
  }
  sc.ops.HostSetPersistentInt(kLastDrawingKeyKey, 0);
}

void sweepStudyDrawings(HostStudyInterface& sc) {
  HostDrawingRecord record = makeHostDrawingRecord();
  int32_t fetches = 0;
  int32_t deletions = 0;
  while (deletions < kMaxSweepDeletions && fetches < kMaxSweepFetches) {
    if (sc.ops.HostGetChartDrawing(sc.chartNumber, 0, record, 0) <= 0) break;
    if (record.lineNumber == 0) break;
    ++fetches;
    if (isLeftoverKind(record.drawingKind)) {
      sc.ops.HostDeleteDrawing(sc.chartNumber, record.lineNumber);
      ++deletions;
    }
  }
  releaseHostString(record.labelText);
  deleteKeptDrawings(sc);
}

void removeAllStudyDrawings(HostStudyInterface& sc) {
  sc.ops.HostDeleteStudyDrawings(sc.chartNumber, -1, 0);
  deleteKeptDrawings(sc);
}

}  // namespace tarvio
