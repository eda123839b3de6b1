// When the chart counts as changed for a person watching it: every kind of
// change a picture shows, and the running age of the levels within a minute,
// which is none.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "render/major_levels.h"
#include "support/chart_profile_fixture.h"
#include "tools/chart/run/chart_change.h"

using namespace chart_tool;
using namespace chart_tool::run;
using chart_host::Bar;
using chart_host::ChartPictureOptions;

namespace {

class ChartChange : public ChartProfileFixture {
 protected:
  ChartChange() {
    study.chart.appendBar(Bar{at(0), 5800, 5801, 5799, 5800.5f, 10});
    picture.title = "ES_SPX  ·  Classic  ·  90d agg Gex  ·  2026-03-02 10:15";
    picture.dataAge = "levels as of 10:15:00, 1 s ago";
    record.noteCall(call(0, delivered(200)));
  }
  static HostDateTime at(int seconds) { return kStart + seconds * kMicrosecondsPerSecond; }
  static ObservedCall call(int seconds, std::optional<chart_host::HttpAnswer> answer = std::nullopt) {
    ObservedCall observed;
    observed.now = at(seconds);
    observed.answer = std::move(answer);
    observed.windowOpen = true;
    return observed;
  }
  static chart_host::HttpAnswer delivered(long status) {
    chart_host::HttpAnswer answer;
    answer.url = "https://api.example/v2/sierra/ES_SPX/classic/full";
    answer.delivered = true;
    answer.status = status;
    return answer;
  }
  ChartMoment moment() { return chartMomentOf(study.instance, picture, record, alerts); }
  void drawLevels() {
    int32_t nextDrawingKey = 0;
    study.instance.runCallWith(CallSettings{}, [&](HostStudyInterface& sc) {
      drawMajorLevels(sc, nextDrawingKey, 0, *gex, *greek, 0.0f, 1.0f);
    });
  }

  static constexpr HostDateTime kStart = 46'083'000'000'000'000LL;
  ChartPictureOptions picture;
  ServiceRecord record;
  std::vector<std::string> alerts;
};

TEST_F(ChartChange, EveryChangeThePictureShowsCountsOnceAndTheRunningAgeDoesNot) {
  struct Step {
    const char* what;
    std::function<void()> make;
    bool changes;
  };
  const std::vector<Step> steps = {
      {"the age within the minute", [this] {
         picture.dataAge = "levels as of 10:15:00, 7 s ago";
         record.noteCall(call(7));
       }, false},
      {"a new answer", [this] { record.noteCall(call(8, delivered(200))); }, true},
      {"a refused answer", [this] { record.noteCall(call(9, delivered(500))); }, true},
      {"the forming bar's close", [this] {
         study.chart.replaceLastBar(Bar{at(0), 5800, 5801, 5799, 5800.75f, 12});
       }, true},
      {"only the forming bar's volume", [this] {
         study.chart.replaceLastBar(Bar{at(0), 5800, 5801, 5799, 5800.75f, 20});
       }, false},
      {"a new bar", [this] { study.chart.appendBar(Bar{at(60), 5801, 5801, 5801, 5801, 1}); }, true},
      {"levels drawn", [this] {
         loadGex(gexResponse("[]"));
         drawLevels();
       }, true},
      {"the same levels drawn again", [this] { drawLevels(); }, false},
      {"an alert", [this] { alerts.push_back("ES_SPX 5801.00 crossed ZG 5800.75 upward"); }, true},
      {"the STALE mark", [this] { picture.warning = "STALE"; }, true},
      {"a notice across the plot", [this] { picture.plotNotice = "no answer from the service"; }, true},
      {"the clock's next minute", [this] {
         picture.title = "ES_SPX  ·  Classic  ·  90d agg Gex  ·  2026-03-02 10:16";
       }, true},
  };
  ChartChanges changes;
  EXPECT_TRUE(changes.note(moment())) << "the first moment is a change";
  int64_t expected = 1;
  for (const Step& step : steps) {
    step.make();
    EXPECT_EQ(changes.note(moment()), step.changes) << step.what;
    expected += step.changes ? 1 : 0;
    EXPECT_EQ(changes.count(), expected) << step.what;
    EXPECT_FALSE(changes.note(moment())) << step.what << ", seen twice";
  }
}

}  // namespace
