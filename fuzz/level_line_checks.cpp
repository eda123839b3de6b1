#include "fuzz/level_line_checks.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "study/greek_input.h"
#include "study/instance_state.h"

using namespace tarvio;

namespace fuzz {

namespace {

// Five GEX levels, two gamma levels, none for delta or an unknown kind.
constexpr int32_t kLastLevelKey = kFirstDrawingKey + 4;

// The kind's levels in the order of their keys from kFirstDrawingKey, each
// with its show switch. The switches run zero gamma, call and put volume,
// call and put OI, long and short gamma.
using Level = std::pair<float, int32_t>;

std::vector<Level> levelsOf(int32_t kind, const GexProfile& gex, const GreekProfile& greek) {
  switch (greekOption(kind).family) {
    case ProfileFamily::Gex:
      return {{gex.major_pos_vol, 1}, {gex.major_neg_vol, 2}, {gex.zero_gamma, 0},
              {gex.major_pos_oi, 3}, {gex.major_neg_oi, 4}};
    case ProfileFamily::Gamma:
      return {{greek.major_long_gamma, 5}, {greek.major_short_gamma, 6}};
    default:
      return {};
  }
}

// Where a level's line must lie: its chart price in float arithmetic, the
// product rounded before the sum. None for a level of 0 (the snapshot has
// none), one that is absent or one the premiums carry beyond the float range.
std::optional<float> linePrice(float level, const DrawingSettings& settings) {
  const float scaled = level * settings.multiplier;
  const float price = scaled + settings.additive;
  if (level == 0.0f || !std::isfinite(price)) return std::nullopt;
  return price;
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
  const std::vector<Level> levels = levelsOf(settings.kind, gex, greek);
  FUZZ_CHECK(nextDrawingKey == kFirstDrawingKey + static_cast<int32_t>(levels.size()));

  PersistentStore& store = instance.store();
  const ChartDrawings& drawings = instance.chart().drawings();
  int32_t held = 0;
  for (const ChartDrawing& drawing : drawings.all()) {
    if (drawing.record.ownerStudyId != instance.studyId()) continue;
    ++held;
    FUZZ_CHECK(drawing.record.drawingKind == kDrawingKindHorizontalLine);
    FUZZ_CHECK(std::isfinite(drawing.record.price));
    FUZZ_CHECK(keyOf(instance, drawing.record.lineNumber) != 0);
  }

  // Each key names its own line, one the chart still has, and lies within the
  // keys the study sweeps when it goes away. This round's keys hold a line
  // exactly for the levels that are shown and have a price, at that price;
  // keys past them keep what earlier rounds left.
  int32_t kept = 0;
  for (int32_t key = kFirstDrawingKey; key <= kLastLevelKey; ++key) {
    const int32_t lineNumber = store.intValue(key);
    const auto index = static_cast<std::size_t>(key - kFirstDrawingKey);
    if (index < levels.size()) {
      const std::optional<float> price = linePrice(levels[index].first, settings);
      const bool shown = price && settings.levelsShown[levels[index].second];
      FUZZ_CHECK((lineNumber != 0) == shown);
      const ChartDrawing* line = shown ? drawings.find(lineNumber) : nullptr;
      if (shown) FUZZ_CHECK(line != nullptr && line->record.price == *price);
    }
    if (lineNumber == 0) continue;
    ++kept;
    FUZZ_CHECK(keyOf(instance, lineNumber) == key);
    FUZZ_CHECK(drawings.find(lineNumber) != nullptr);
    FUZZ_CHECK(key <= store.intValue(kLastDrawingKeyKey));
  }
  FUZZ_CHECK(kept == held);
}

}  // namespace fuzz
