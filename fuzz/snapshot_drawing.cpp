#include "fuzz/snapshot_drawing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "fuzz/checking_canvas.h"
#include "fuzz/fuzz_check.h"
#include "study/greek_input.h"
#include "study/instance_state.h"
#include "support/picked_drawing_settings.h"
#include "support/study_chart.h"

namespace {

using namespace fuzz;

// The most a repaint may paint: a bar per series pass and a dot per shown
// prior for each strike of the selected kind; an absent strike gets neither,
// an absent prior no dot.
struct PaintLimit {
  std::size_t bars = 0, dots = 0;
};

PaintLimit paintLimitOf(const PaintRules& rules, int32_t kind, const GexProfile& gex,
                        const GreekProfile& greek) {
  const bool fromGex = greekOption(kind).family == ProfileFamily::Gex;
  const std::vector<float>& strikes = fromGex ? gex.strikes : greek.strikes;
  const std::vector<float>& priors = fromGex ? gex.priors : greek.priors;
  const std::size_t perStrike = fromGex ? 5 : 3;
  PaintLimit limit;
  for (std::size_t row = 0; row < strikes.size(); ++row) {
    if (std::isnan(strikes[row])) continue;
    limit.bars += static_cast<std::size_t>(rules.passes);
    for (std::size_t k = 0; rules.firstDot >= 0 && k < perStrike; ++k)
      limit.dots += rules.dotsDrawn[rules.firstDot + k] && !std::isnan(priors[row * perStrike + k]);
  }
  return limit;
}

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
  for (int32_t key = kFirstDrawingKey; key <= kLastLevelKey; ++key)
    if (instance.store().intValue(key) == lineNumber) return key;
  return 0;
}

// Checks after one round of major level lines: the drawing key ended past the
// last level of the selected kind, a line is kept at its chart price for each
// of the kind's levels that is set, shown and has a finite price, and every
// drawing the study holds on the chart is a horizontal line that one level
// key keeps, so the study can replace and remove each of them later.
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

void checkDrawing(const GexProfile& gex, const GreekProfile& greek, SnapshotSource source,
                  int32_t timestamp, const std::vector<float>& strikes) {
  const DrawingSettings settings = pickDrawingSettings(timestamp, source, strikes);
  // The chart of the run. Never destroyed: the instance would release the
  // profiles it holds, and it holds none between inputs.
  static StudyChart& chart = *new StudyChart;
  chart.apply(settings);

  const PaintRules rules = paintRulesOf(settings);
  CheckingCanvas canvas(rules);
  chart.paint(gex, greek, canvas);
  canvas.finish();
  const PaintLimit limit = paintLimitOf(rules, settings.kind, gex, greek);
  if (limit.bars + limit.dots == 0 || !plotHasRoom(settings.plot)) FUZZ_CHECK(!canvas.paintedAnything());
  FUZZ_CHECK(static_cast<std::size_t>(canvas.bars()) <= limit.bars);
  FUZZ_CHECK(static_cast<std::size_t>(canvas.dots()) <= limit.dots);

  const StudyChart::LevelRound round =
      chart.drawLevels(gex, greek, settings.additive, settings.multiplier);
  // Absent levels, sums and changes, and levels with no finite price, leave
  // their outputs as they were: every output stays finite.
  for (float output : round.outputs) FUZZ_CHECK(std::isfinite(output));
  checkLevelLines(chart.instance(), settings, gex, greek, round.nextDrawingKey);
}

}  // namespace

void checkSnapshotDrawing(const GexProfile& profile) {
  static const GreekProfile* const noGreek = new GreekProfile;
  checkDrawing(profile, *noGreek, SnapshotSource::Gex, profile.timestamp, profile.strikes);
}

void checkSnapshotDrawing(const GreekProfile& profile) {
  static const GexProfile* const noGex = new GexProfile;
  checkDrawing(*noGex, profile, SnapshotSource::Greek, profile.timestamp, profile.strikes);
}
