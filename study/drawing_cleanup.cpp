#include "study/drawing_cleanup.h"

#include <cstdint>

#include "study/host_calls.h"
#include "study/instance_state.h"
#include "study/scoped_release.h"

namespace tarvio {

namespace {

constexpr int32_t kMaxSweepDeletions = 10000;
constexpr int32_t kMaxSweepFetches = 20000;

bool isLeftoverKind(int32_t kind) { return kind == 12 || kind == 39; }

}  // namespace

void deleteKeptDrawings(HostStudyInterface& sc) {
  HostCalls host(sc);
  const int32_t lastKey = host.persistentInt(kLastDrawingKeyKey);
  // 64-bit counter: a last key of INT32_MAX must not overflow the loop.
  for (int64_t key = kFirstDrawingKey; key <= lastKey; ++key) {
    const int32_t k = static_cast<int32_t>(key);
    const int32_t lineNumber = host.persistentInt(k);
    if (lineNumber == 0) continue;
    host.deleteDrawing(sc.chartNumber, lineNumber);
    host.setPersistentInt(k, 0);
  }
  host.setPersistentInt(kLastDrawingKeyKey, 0);
}

void sweepStudyDrawings(HostStudyInterface& sc) {
  HostCalls host(sc);
  HostDrawingRecord record = makeHostDrawingRecord();
  // Each drawing copied out brings its label, which this sweep then owns.
  const ScopedRelease releaseLabel(record.labelText);
  int32_t fetches = 0;
  int32_t deletions = 0;
  while (deletions < kMaxSweepDeletions && fetches < kMaxSweepFetches) {
    if (host.getChartDrawing(sc.chartNumber, 0, record, 0) <= 0) break;
    if (record.lineNumber == 0) break;
    ++fetches;
    if (isLeftoverKind(record.drawingKind)) {
      host.deleteDrawing(sc.chartNumber, record.lineNumber);
      ++deletions;
    }
  }
  deleteKeptDrawings(sc);
}

void removeAllStudyDrawings(HostStudyInterface& sc) {
  HostCalls host(sc);
  host.deleteStudyDrawings(sc.chartNumber, -1, 0);
  deleteKeptDrawings(sc);
}

}  // namespace tarvio
