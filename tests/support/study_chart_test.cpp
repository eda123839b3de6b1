// The study chart the fuzzers draw every parsed snapshot on: the settings
// must reach the study (or the fuzzers' paint rules judge a drawing made with
// other settings), and a lent snapshot must be back with its owner after each
// repaint and round of level lines (or the study would release it), whatever
// the settings the fuzzers pick.
#include <gtest/gtest.h>

#include <set>

#include "host/recording_canvas.h"
#include "study/instance_state.h"
#include "support/generated_responses.h"
#include "support/log_only_host.h"
#include "support/picked_drawing_settings.h"
#include "support/profile_parsers.h"
#include "support/study_chart.h"

using namespace chart_host;
using namespace tarvio;

namespace {

// GEX "Both" as solid bars on an ordinary plot that shows every strike, every
// prior dot and level line shown, no premiums.
DrawingSettings gexBothSettings(const GexProfile& gex) {
  DrawingSettings s{};
  s.kind = 0;
  s.gexDisplay = 2;
  s.originPercent = 75;
  s.scalePercent = 100;
  s.barWidthTicks = 2;
  s.barStyles.fill(3);
  s.priorDotsShown.fill(true);
  s.dotSize = 1.0f;
  s.multiplier = 1.0f;
  s.plot = PlotArea{100, 50, 1100, 650};
  s.lowPrice = gex.strikes.front() - 10;
  s.highPrice = gex.strikes.back() + 10;
  s.tickSize = 0.25f;
  s.levelsShown.fill(true);
  return s;
}

class StudyChartTest : public testing::Test {
 protected:
  StudyChartTest() {
    HostStudyInterface sc = logOnlyHost(dropLogLine);
    EXPECT_EQ(parseProfile(sc, makeProfileResponse(ProfileKind::Gex, 40, 5).c_str(), &gex),
              ReadOutcome::Parsed);
    chart.apply(gexBothSettings(gex));
  }

  void expectNothingLent() {
    PersistentStore& store = chart.instance().store();
    EXPECT_EQ(store.pointerValue(kGexProfileKey), nullptr);
    EXPECT_EQ(store.pointerValue(kGreekProfileKey), nullptr);
    EXPECT_EQ(store.intValue(kProfileReadyKey), 0);
  }

  StudyChart chart;
  GexProfile gex;
  GreekProfile greek;
};

TEST_F(StudyChartTest, RepaintDrawsTheLentSnapshotInTheSettingsColoursAndGivesItBack) {
  expectNothingLent();
  RecordingCanvas canvas;
  chart.paint(gex, greek, canvas);
  std::set<HostColor> colors;
  for (const RecordedShape& bar : canvas.shapesOf(ShapeKind::Rectangle)) colors.insert(bar.color);
  // Call and put GEX by volume and by open interest, nothing else.
  EXPECT_EQ(colors, (std::set<HostColor>{seriesColor(0), seriesColor(1), seriesColor(2),
                                         seriesColor(3)}));
  expectNothingLent();
}

TEST_F(StudyChartTest, LevelRoundKeepsALineForEveryShownGexLevel) {
  const StudyChart::LevelRound round = chart.drawLevels(gex, greek, 0.0f, 1.0f);
  EXPECT_EQ(round.nextDrawingKey, kFirstDrawingKey + 5);
  for (int32_t key = kFirstDrawingKey; key < round.nextDrawingKey; ++key)
    EXPECT_NE(chart.instance().store().intValue(key), 0) << key;
  EXPECT_FALSE(round.outputs.empty());
  expectNothingLent();
}

TEST_F(StudyChartTest, AnyPickedSettingsDrawWithinTheirPlotAndGiveTheSnapshotBack) {
  for (int32_t seed = 0; seed < 200; ++seed) {
    const DrawingSettings settings = pickDrawingSettings(seed, SnapshotSource::Gex, gex.strikes);
    chart.apply(settings);
    RecordingCanvas canvas;
    chart.paint(gex, greek, canvas);
    // Bars are clipped to the plot's columns; an empty plot gets nothing.
    const PlotArea& plot = settings.plot;
    for (const RecordedShape& bar : canvas.shapesOf(ShapeKind::Rectangle)) {
      if (bar.color != seriesColor(0) && bar.color != seriesColor(1)) continue;
      EXPECT_GE(bar.rect.left, plot.left) << seed;
      EXPECT_LE(bar.rect.right, int64_t{plot.right} + 1) << seed;
    }
    chart.drawLevels(gex, greek, settings.additive, settings.multiplier);
    expectNothingLent();
  }
}

}  // namespace
