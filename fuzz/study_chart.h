// One chart with the study placed on it, kept for the whole run. Each input
// applies its settings, lends its snapshot to the study for one repaint and
// takes it back at once, so the study never releases a profile the fuzzer
// owns; then draws its level lines, which the next input replaces.
#pragma once

#include <cstdint>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "fuzz/drawing_settings.h"
#include "host/canvas.h"
#include "host/chart.h"
#include "host/study_instance.h"

using namespace chart_host;

namespace fuzz {

class StudyChart {
 public:
  // Declares the study and runs one ordinary call, which registers the
  // graphics callback.
  StudyChart();
  StudyChart(const StudyChart&) = delete;
  StudyChart& operator=(const StudyChart&) = delete;

  // Writes the settings into the study's inputs and the chart.
  void apply(const DrawingSettings& settings);
  // One repaint of the two snapshots onto `canvas`.
  void paint(const GexProfile& gex, const GreekProfile& greek, Canvas& canvas);
  // One round of the major level lines; returns where the drawing key ended.
  int32_t drawLevels(const GexProfile& gex, const GreekProfile& greek, float additive,
                     float multiplier);

  StudyInstance& instance() { return instance_; }

 private:
  void lend(const GexProfile& gex, const GreekProfile& greek);
  void takeBack();

  Chart chart_;
  StudyInstance instance_;
};

// The chart of the run. Never destroyed: the instance would release the
// profiles it holds, and it holds none between inputs.
StudyChart& studyChart();

}  // namespace fuzz
