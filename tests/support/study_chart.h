// The study on a chart (study_fixture.h), drawing snapshots it does not own:
// drawing settings are written into its inputs and the chart, and each
// snapshot is lent to the study for one repaint or one round of level lines
// and taken back at once, so the study never releases a profile its caller
// owns. Not thread-safe.
#pragma once

#include <cstdint>
#include <vector>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "host/canvas.h"
#include "support/drawing_settings.h"
#include "support/study_fixture.h"

using namespace chart_host;
using namespace tarvio;

class StudyChart {
 public:
  // Declares the study and runs one full recalculation, which registers the
  // graphics callback; the snapshots that call made are released.
  StudyChart();

  void apply(const DrawingSettings& settings);
  // One repaint of the two snapshots onto `canvas`.
  void paint(const GexProfile& gex, const GreekProfile& greek, Canvas& canvas);

  struct LevelRound {
    int32_t nextDrawingKey;       // where the drawing key ended, -1 if never set
    std::vector<float> outputs;   // every output series at the call's bar
  };
  // One round of the major level lines in an ordinary call.
  LevelRound drawLevels(const GexProfile& gex, const GreekProfile& greek, float additive,
                        float multiplier);

  StudyInstance& instance() { return study_.instance; }

 private:
  void lend(const GexProfile* gex, const GreekProfile* greek);

  StudyFixture study_;
};
