// The single chart's page in a real headless browser, served in-process: told
// of changes by the events it asks nothing more; when the events are refused
// three times in a row it falls back to asking once a second, and still
// shows every change.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/picture/chart_picture.h"
#include "integration/headless_browser.h"
#include "support/standin_process.h"
#include "support/study_fixture.h"
#include "tools/chart/live/live_view_server.h"

namespace {

using namespace chart_tool::live;
using live_test::HeadlessBrowser;

std::string picturePng(StudyFixture& study) {
  chart_host::ChartPictureOptions picture;
  picture.width = 640;
  picture.height = 480;
  std::string png, error;
  EXPECT_TRUE(chart_host::chartPicturePng(study.instance, picture, png, error)) << error;
  return png;
}

TEST(LivePageInBrowser, UsesTheEventsAndFallsBackToPollingWhenTheyAreRefusedThreeTimesInARow) {
  const std::string program = HeadlessBrowser::find();
  if (program.empty()) GTEST_SKIP() << "no headless browser installed (./run setup installs chromium-headless-shell)";
  StudyFixture study(30);
  const std::string png = picturePng(study);
  struct Case {
    std::size_t eventStreams;
    const char* mode;  // what the page ends up doing
  };
  for (const Case& run : {Case{32, "[true,0]"}, Case{0, "[false,true]"}}) {
    LiveBoard board;
    board.publish("{\"changes\":1}\n", png);
    ConnectionLimits limits;
    limits.eventStreams = run.eventStreams;
    std::string error;
    std::unique_ptr<LiveViewServer> server =
        LiveViewServer::start(*readServeAddress("127.0.0.1:0"), {}, board, error, limits);
    ASSERT_TRUE(server) << error;
    standin_test::ScratchFolder profile;
    HeadlessBrowser browser(program, profile.path());
    ASSERT_TRUE(browser.open("http://127.0.0.1:" + std::to_string(server->port()) + "/", 1200, 700, error)) << error;
    EXPECT_TRUE(browser.waitFor("window.liveView.changesShown === 1", 10)) << run.eventStreams;
    if (run.eventStreams == 0) {  // three refusals, each tried again after 2 s
      EXPECT_TRUE(browser.waitFor("window.liveView.pushed === false && window.liveView.polls > 0", 15));
    }
    board.publish("{\"changes\":2}\n", png);
    EXPECT_TRUE(browser.waitFor("window.liveView.changesShown === 2", 10)) << run.eventStreams;
    EXPECT_EQ(browser.evaluate(run.eventStreams == 0 ? "[window.liveView.pushed, window.liveView.polls > 0]"
                                                     : "[window.liveView.pushed, window.liveView.polls]")
                  .value_or("null"),
              run.mode);
  }
}

}  // namespace
