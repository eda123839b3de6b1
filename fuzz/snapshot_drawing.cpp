#include "fuzz/snapshot_drawing.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/checking_canvas.h"
#include "fuzz/drawing_settings.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/level_line_checks.h"
#include "fuzz/paint_rules.h"
#include "fuzz/study_chart.h"

namespace {

using namespace fuzz;

// The strikes the selected kind draws from.
std::size_t drawnRows(int32_t kind, const GexProfile& gex, const GreekProfile& greek) {
  if (kind <= 2) return gex.strikes.size();
  if (kind <= 6) return greek.strikes.size();
  return 0;
}

void checkDrawing(const GexProfile& gex, const GreekProfile& greek, SnapshotSource source,
                  int32_t timestamp, const std::vector<float>& strikes) {
  const DrawingSettings settings = pickDrawingSettings(timestamp, source, strikes);
  StudyChart& chart = studyChart();
  chart.apply(settings);

  const PaintRules rules = paintRulesOf(settings);
  CheckingCanvas canvas(rules);
  chart.paint(gex, greek, canvas);
  canvas.finish();
  // At most one bar per strike and series pass, and the strike's shown dots.
  const std::size_t rows = drawnRows(settings.kind, gex, greek);
  if (rows == 0 || !plotHasRoom(settings.plot)) FUZZ_CHECK(!canvas.paintedAnything());
  FUZZ_CHECK(static_cast<std::size_t>(canvas.bars()) <= rows * rules.passes);
  FUZZ_CHECK(static_cast<std::size_t>(canvas.dots()) <= rows * rules.dotsPerStrike);

  const int32_t nextDrawingKey = chart.drawLevels(gex, greek, settings.additive, settings.multiplier);
  checkLevelLines(chart.instance(), settings, gex, greek, nextDrawingKey);
}

}  // namespace

void checkGexDrawing(const GexProfile& profile) {
  static const GreekProfile* const noGreek = new GreekProfile;
  checkDrawing(profile, *noGreek, SnapshotSource::Gex, profile.timestamp, profile.strikes);
}

void checkGreekDrawing(const GreekProfile& profile) {
  static const GexProfile* const noGex = new GexProfile;
  checkDrawing(*noGex, profile, SnapshotSource::Greek, profile.timestamp, profile.strikes);
}
