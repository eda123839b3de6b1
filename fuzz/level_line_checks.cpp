#include "fuzz/level_line_checks.h"

#include <cmath>

#include "fuzz/fuzz_check.h"
#include "study/instance_state.h"

namespace fuzz {

namespace {

// Five GEX levels, two gamma levels, none for delta or an unknown kind.
constexpr int32_t kLastLevelKey = kFirstDrawingKey + 4;

int32_t keyAfterLevels(int32_t kind) {
  if (kind <= 2) return kFirstDrawingKey + 5;
  if (kind <= 4) return kFirstDrawingKey + 2;
  return kFirstDrawingKey;
}

// How many of the kind's levels must have a line: those not 0 and shown.
// The show switches run zero gamma, call and put volume, call and put OI,
// long and short gamma.
int32_t levelsToShow(const DrawingSettings& settings, const GexProfile& gex,
                     const GreekProfile& greek) {
  const auto& shown = settings.levelsShown;
  int32_t count = 0;
  const auto add = [&](float level, int32_t which) { count += level != 0.0f && shown[which] ? 1 : 0; };
  if (settings.kind <= 2) {
    add(gex.zero_gamma, 0);
    add(gex.major_pos_vol, 1);
    add(gex.major_neg_vol, 2);
    add(gex.major_pos_oi, 3);
    add(gex.major_neg_oi, 4);
  } else if (settings.kind <= 4) {
    add(greek.major_long_gamma, 5);
    add(greek.major_short_gamma, 6);
  }
  return count;
}

// The level key that keeps `lineNumber`, or 0.
int32_t keyOf(StudyInstance& instance, int32_t lineNumber) {
  for (int32_t key = kFirstDrawingKey; key <= kLastLevelKey; ++key) {
    if (instance.store().intValue(key) == lineNumber) return key;
  }
  return 0;
}

}  // namespace

void checkLevelLines(StudyInstance& instance, const DrawingSettings& settings,
                     const GexProfile& gex, const GreekProfile& greek, int32_t nextDrawingKey) {
  FUZZ_CHECK(nextDrawingKey == keyAfterLevels(settings.kind));

  PersistentStore& store = instance.store();
  const ChartDrawings& drawings = instance.chart().drawings();
  int32_t held = 0;
  for (const ChartDrawing& drawing : drawings.all()) {
    if (drawing.record.ownerStudyId != instance.studyId()) continue;
    ++held;
    FUZZ_CHECK(drawing.record.drawingKind == kDrawingKindHorizontalLine);
    FUZZ_CHECK(!std::isnan(drawing.record.price));
    FUZZ_CHECK(keyOf(instance, drawing.record.lineNumber) != 0);
  }

  // Each key names its own line, one the chart still has, and lies within the
  // keys the study sweeps when it goes away. Keys past this round's levels
  // keep what earlier rounds left.
  int32_t kept = 0;
  int32_t keptThisRound = 0;
  for (int32_t key = kFirstDrawingKey; key <= kLastLevelKey; ++key) {
    const int32_t lineNumber = store.intValue(key);
    if (lineNumber == 0) continue;
    ++kept;
    if (key < nextDrawingKey) ++keptThisRound;
    FUZZ_CHECK(keyOf(instance, lineNumber) == key);
    FUZZ_CHECK(drawings.find(lineNumber) != nullptr);
    FUZZ_CHECK(key <= store.intValue(kLastDrawingKeyKey));
  }
  FUZZ_CHECK(kept == held);
  FUZZ_CHECK(keptThisRound == levelsToShow(settings, gex, greek));
}

}  // namespace fuzz
