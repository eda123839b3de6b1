// A chart session over time, and what it leaves behind: the bars appear as
// the clock passes them, the study sees one full recalculation and then
// ordinary calls from the first new bar, and the outputs and the graphics
// trace say exactly what was on the chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>

#include "tools/chart/outputs/series_and_drawings.h"
#include "tools/chart/run/chart_session.h"
#include "tools/chart/run/simulated_clock.h"
#include "tools/chart/inputs/synthetic_bars.h"
#include "tools/chart/outputs/trace_canvas.h"

using namespace chart_host;
using namespace chart_tool;
using namespace chart_tool::inputs;
using namespace chart_tool::outputs;
using namespace chart_tool::run;

namespace {

constexpr HostDateTime kDay = 46083LL * kMicrosecondsPerDay;  // 2026-03-02
constexpr int64_t kMinute = 60000000;

struct SeenCall {
  int32_t barCount;
  bool full;
  int32_t updateStartIndex;
};

// What each ordinary call of the study on a chart saw of the bars.
std::vector<SeenCall> seen;

void noteWhatTheCallSaw(HostStudyInterface& sc) {
  if (!sc.isSetDefaultsPass) seen.push_back({sc.barCount, sc.isFullRecalculation != 0, sc.updateStartIndex});
}

// A study on `chart` that notes what each of its calls saw, its defaults set.
std::unique_ptr<StudyInstance> notingStudy(Chart& chart) {
  seen.clear();
  auto instance = std::make_unique<StudyInstance>(chart, noteWhatTheCallSaw, 1);
  instance->runSetDefaultsPass();
  return instance;
}

TEST(ChartSession, ShowsBarsAsTheClockPassesThemAndCallsFromTheFirstNewOne) {
  Chart chart;
  const std::unique_ptr<StudyInstance> study = notingStudy(chart);
  StudyInstance& instance = *study;
  SyntheticBarsPlan plan;
  plan.firstBar = kDay + 9 * 60 * kMinute;
  plan.count = 5;
  SimulatedClock clock(plan.firstBar);
  ChartSession session(instance, makeSyntheticBars(plan), clock);
  for (int64_t second : {90, 100, 150, 300, 600})
    EXPECT_EQ(session.callWhenDue(plan.firstBar + second * kMicrosecondsPerSecond),
              plan.firstBar + second * kMicrosecondsPerSecond);
  const std::vector<SeenCall> expected = {{2, true, 0}, {2, false, 1}, {3, false, 2}, {5, false, 3}, {5, false, 4}};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].barCount, expected[i].barCount) << i;
    EXPECT_EQ(seen[i].full, expected[i].full) << i;
    EXPECT_EQ(seen[i].updateStartIndex, expected[i].updateStartIndex) << i;
  }
  EXPECT_EQ(session.calls(), 5);
}

TEST(SimulatedClock, MovesOnlyForwardAndOnlyWhenWaitedOn) {
  SimulatedClock clock(kDay);
  EXPECT_TRUE(clock.simulated());
  EXPECT_EQ(clock.now(), kDay);
  EXPECT_EQ(clock.now(), kDay);
  clock.waitUntil(kDay + kMinute);
  EXPECT_EQ(clock.now(), kDay + kMinute);
  clock.waitUntil(kDay);  // a time already passed
  EXPECT_EQ(clock.now(), kDay + kMinute);
}

// A clock of the real kind that is always `late_us` behind what the session
// waited for, as a busy machine wakes late.
class LateClock : public Clock {
 public:
  explicit LateClock(int64_t late_us) : late_us_(late_us) {}
  HostDateTime now() const override { return now_; }
  void waitUntil(HostDateTime time) override { now_ = std::max(now_, time + late_us_); }
  bool simulated() const override { return false; }

 private:
  int64_t late_us_;
  HostDateTime now_ = 0;
};

TEST(ChartSession, CallsAtTheTimeTheClockShowsWhenItWakesLate) {
  struct Seen {
    HostDateTime now;
    bool full;
  };
  static std::vector<Seen> seen;
  seen.clear();
  Chart chart;
  StudyInstance instance(chart, [](HostStudyInterface& sc) {
    if (!sc.isSetDefaultsPass) seen.push_back({sc.currentDateTime, sc.isFullRecalculation != 0});
  }, 1);
  instance.runSetDefaultsPass();
  SyntheticBarsPlan plan;
  plan.firstBar = kDay + 9 * 60 * kMinute;
  plan.count = 3;
  LateClock clock(5 * kMicrosecondsPerSecond);
  ChartSession session(instance, makeSyntheticBars(plan), clock);
  EXPECT_EQ(session.callWhenDue(plan.firstBar), plan.firstBar + 5 * kMicrosecondsPerSecond);
  EXPECT_EQ(session.callWhenDue(plan.firstBar + kMinute), plan.firstBar + kMinute + 5 * kMicrosecondsPerSecond);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].now, plan.firstBar + kMinute + 5 * kMicrosecondsPerSecond);
  EXPECT_TRUE(seen[0].full);
  EXPECT_FALSE(seen[1].full);
  EXPECT_EQ(chart.bars().size(), 2u);
}

// On the real clock the bars come from a feed: a bar at the newest's time
// replaces it (it was still forming), newer ones are added, older ones are
// history that stays; the study looks again from the first bar that changed.
TEST(ChartSession, TakesTheFedBarsTheNewestFormingAndLooksFromTheFirstChanged) {
  Chart chart;
  const std::unique_ptr<StudyInstance> study = notingStudy(chart);
  StudyInstance& instance = *study;
  const HostDateTime first = kDay + 9 * 60 * kMinute;
  auto bar = [&](int minute, float close) { return Bar{first + minute * kMinute, close, close, close, close, 1}; };
  LateClock clock(0);
  ChartSession session(instance, {bar(0, 10), bar(1, 11)}, clock);
  session.showAllBars();
  std::vector<std::vector<Bar>> fed = {
      {},                                   // nothing new: the full recalculation
      {bar(0, 99), bar(1, 12)},             // the newest still forming; history stays
      {bar(0, 10), bar(1, 13), bar(2, 14)},  // the newest changed, and one more
      {bar(3, 15)},                         // one more only
      {},                                   // nothing new
  };
  std::size_t next = 0;
  session.setBarsFeed([&] { return fed[next++]; });
  for (std::size_t call = 0; call < fed.size(); ++call) session.callWhenDue(first + 5 * kMinute);
  const std::vector<SeenCall> expected = {{2, true, 0}, {2, false, 1}, {3, false, 1}, {4, false, 3}, {4, false, 3}};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].barCount, expected[i].barCount) << i;
    EXPECT_EQ(seen[i].updateStartIndex, expected[i].updateStartIndex) << i;
  }
  const float closes[] = {10, 13, 14, 15};
  ASSERT_EQ(chart.bars().size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(chart.bars()[i].close, closes[i]) << i;
  EXPECT_EQ(chart.dateTimeToBarIndex(first + 3 * kMinute), 3);
}

TEST(SyntheticBars, RepeatForTheSameSeedAndStayOnTicksAndInsideTheirRange) {
  SyntheticBarsPlan plan;
  plan.count = 500;
  const std::vector<Bar> bars = makeSyntheticBars(plan);
  EXPECT_EQ(bars.size(), 500u);
  plan.seed = 2;
  EXPECT_NE(makeSyntheticBars(plan)[10].close, bars[10].close);
  plan.seed = 1;
  EXPECT_EQ(makeSyntheticBars(plan)[499].close, bars[499].close);
  for (const Bar& bar : bars) {
    EXPECT_LE(bar.low, std::min(bar.open, bar.close));
    EXPECT_GE(bar.high, std::max(bar.open, bar.close));
    EXPECT_EQ(bar.close * 4, std::round(bar.close * 4));
  }
  EXPECT_EQ(bars[1].dateTime - bars[0].dateTime, kMinute);
}

TEST(ChartOutputs, WriteTheSeriesByNameAndTheDrawingsWithTheirRows) {
  Chart chart;
  chart.appendBar(Bar{kDay + 570 * kMinute, 1, 2, 0.5f, 1.5f, 10});
  chart.appendBar(Bar{kDay + 571 * kMinute, 1, 2, 0.5f, 1.5f, 10});
  chart.setPlotArea(PlotArea{0, 0, 100, 100});
  chart.setPriceRange(0.0f, 10.0f);
  StudyInstance instance(chart, [](HostStudyInterface& sc) {
    if (sc.isSetDefaultsPass) {
      assignHostString(subgraphAt(sc, 0).name, "Zero, \"Gamma\"");
      assignHostString(subgraphAt(sc, 1).name, "Net");
      return;
    }
    subgraphAt(sc, 0).values[1] = 5869.59f;
    subgraphAt(sc, 1).values[0] = -1e-7f;
    HostDrawingRecord line = makeHostDrawingRecord();
    line.drawingKind = kDrawingKindHorizontalLine;
    line.price = 2.5f;
    line.color = rgb(255, 165, 0);
    line.lineStyle = 1;
    assignHostString(line.labelText, "ZG: \"2.50\"\n");
    sc.ops.HostAddDrawing(line);
    releaseHostString(line.labelText);
  }, 1);
  instance.runSetDefaultsPass();
  instance.runCall(CallSettings{});
  std::ostringstream csv, json;
  writeOutputSeriesCsv(instance, csv);
  EXPECT_EQ(csv.str(),
            "DateTime,\"Zero, \"\"Gamma\"\"\",Net\n"
            "2026-03-02 09:30:00,0,-1e-07\n"
            "2026-03-02 09:31:00,5869.59,0\n");
  writeDrawingsJson(instance, json);
  EXPECT_EQ(json.str(),
            "[\n  {\"lineNumber\": 1, \"kind\": 3, \"price\": 2.5, \"color\": \"#FFA500\", \"width\": 1, \"style\": "
            "\"dash\", \"label\": \"ZG: \\\"2.50\\\"\\n\", \"fontSize\": 10, \"alignment\": 0, "
            "\"transparentLabelBackground\": false, \"row\": 75}\n]\n");
}

TEST(TraceCanvas, WritesOneJsonLinePerOperation) {
  std::ostringstream out;
  TraceCanvas trace(out);
  trace.beginRepaint(7, "2026-03-02 10:15:00");
  trace.fillRectangle(HostRect{1, 2, 3, 4}, rgb(0, 255, 0));
  trace.resetGraphicsState(3);
  const HostPoint points[] = {{1, 2}, {3, 4}};
  trace.drawPolygon(points, 2);
  trace.drawEllipse(HostRect{5, 6, 7, 8}, HostFillRecord{1, static_cast<int32_t>(rgb(255, 0, 0)), 0, 0});
  const std::string prefix = "{\"repaint\": 7, \"time\": \"2026-03-02 10:15:00\", \"op\": ";
  EXPECT_EQ(out.str(),
            prefix + "\"rectangle\", \"left\": 1, \"top\": 2, \"right\": 3, \"bottom\": 4, \"color\": \"#00FF00\"}\n" +
                prefix + "\"reset\", \"which\": 3}\n" + prefix + "\"polygon\", \"points\": [[1, 2], [3, 4]]}\n" +
                prefix + "\"ellipse\", \"left\": 5, \"top\": 6, \"right\": 7, \"bottom\": 8, \"fill\": 1, \"color\": \"#FF0000\"}\n");
}

}  // namespace
