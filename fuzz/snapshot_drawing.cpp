#include "fuzz/snapshot_drawing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/checking_canvas.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/level_line_checks.h"
#include "fuzz/paint_rules.h"
#include "fuzz/picked_settings.h"
#include "study/greek_input.h"
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

void checkDrawing(const GexProfile& gex, const GreekProfile& greek, SnapshotSource source,
                  int32_t timestamp, const std::vector<float>& strikes) {
  const DrawingSettings settings = pickDrawingSettings(timestamp, source, strikes);
  // The chart of the run. Never destroyed: the instance would release the
  // profiles it holds, and it holds none between inputs.
  static StudyChart* const run = new StudyChart;
  StudyChart& chart = *run;
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
