// A chart's LiveOutputs feeding its board: the status after every call and
// the picture on a change; without a board nothing is drawn for a page; a
// picture that cannot be drawn is told once, through the run's own line
// writer, while the status still reaches the page. The build machine's
// only: the Windows build draws no pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/minute_bars.h"
#include "support/study_fixture.h"
#include "tools/chart/live/live_view_outputs.h"

namespace {

using namespace chart_tool;

struct Told {
  std::vector<std::string> lines;
  std::function<void(const std::string&)> writer() {
    return [this](const std::string& line) { lines.push_back(line); };
  }
};

// One call of the chart after which it has `changed`, with a status naming the call.
void callOnce(live::LiveOutputs& live, StudyFixture& study, chart_host::ChartPictureOptions& picture, int64_t number,
              bool changed) {
  const run::ServiceRecord service;
  const run::PriceRecord price(true, true);
  const run::MessageCounts messages;
  run::CallRecord call(number, 0, study.instance, service, price, messages, picture);
  call.changed = changed;
  call.status = "{\"calls\":" + std::to_string(number) + "}\n";
  live.afterCall(call);
}

TEST(LiveOutputs, FeedItsBoardAndTellAPictureThatCannotBeDrawnOnceWhileTheStatusGoesOn) {
  StudyFixture study(30);
  chart_host::ChartPictureOptions picture;
  picture.width = 400;
  picture.height = 300;
  live::LiveBoard board;
  Told told;
  live::LiveOutputs live;
  std::string error;
  ASSERT_TRUE(live.open(&board, "", nullptr, told.writer(), error)) << error;
  callOnce(live, study, picture, 1, true);
  callOnce(live, study, picture, 2, false);
  std::shared_ptr<const live::LiveSnapshot> shown = board.current();
  EXPECT_EQ(shown->status, "{\"calls\":2}\n");
  ASSERT_TRUE(shown->png);
  EXPECT_EQ(shown->png->compare(0, 4, "\x89PNG"), 0);
  EXPECT_EQ(shown->pictures, 1u);
  EXPECT_EQ(shown->publications, 2u);
  EXPECT_TRUE(told.lines.empty());

  // Too large to draw: told once, without the program's name; the page
  // keeps the last picture and gets every status.
  picture.width = 100000;
  callOnce(live, study, picture, 3, true);
  callOnce(live, study, picture, 4, true);
  shown = board.current();
  EXPECT_EQ(shown->status, "{\"calls\":4}\n");
  EXPECT_EQ(shown->pictures, 1u);
  ASSERT_EQ(told.lines.size(), 1u);
  EXPECT_EQ(told.lines[0].rfind("tarvio-chart", 0), std::string::npos) << told.lines[0];
  EXPECT_NE(told.lines[0].find("; the run goes on, and the chart shown may be an earlier one"), std::string::npos)
      << told.lines[0];
  live.stop();

  // No board: no page, nothing published anywhere, nothing told.
  live::LiveOutputs noPage;
  Told quiet;
  ASSERT_TRUE(noPage.open(nullptr, "", nullptr, quiet.writer(), error));
  callOnce(noPage, study, picture, 5, true);
  EXPECT_TRUE(quiet.lines.empty());
  EXPECT_EQ(board.current()->publications, 4u);
}

}  // namespace
