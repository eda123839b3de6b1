// The board's live page in a real headless browser, served by a real
// tarvio-chart run of a board (ES_SPX, NQ_NDX and a chart that fails at its
// start) on the real clock against the stand-in: both pictures load at the
// size they are shown, each levels table lists its own chart's drawings, the
// failed chart is shown failed with its reason while the others go on, a
// change is pushed to the page with no poll, a chart clicked opens large and
// returns, and the alerts of every chart make one list, newest first.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "integration/background_program.h"
#include "integration/headless_browser.h"
#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using live_test::BackgroundProgram;
using live_test::HeadlessBrowser;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::readText;

constexpr const char* kBoard =
    R"({"charts": [{"name": "ES", "set": ["Ticker=ES_SPX"]},
                   {"name": "NQ", "set": ["Ticker=NQ_NDX"], "startPrice": 20500, "seed": 3},
                   {"name": "gone", "bars": "missing.csv"}]})";

rapidjson::Document parsed(const std::string& text) {
  rapidjson::Document document;
  document.Parse(text.c_str());
  return document;
}

TEST(BoardPageInBrowser, ShowsEveryChartItsOwnLevelsAFailedOneAndIsToldOfChangesWithoutPolling) {
  const std::string program = HeadlessBrowser::find();
  if (program.empty()) GTEST_SKIP() << "no headless browser installed (./run setup installs chromium-headless-shell)";
  // The stand-in's clock stands still, so each chart's levels stay as first
  // drawn while its price and picture move on.
  StandinProcess standin({"--now", std::to_string(std::time(nullptr))});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder files;
  std::ofstream(files.file("board.json")) << kBoard;
  BackgroundProgram run(TARVIO_CHART_PATH,
                        {"--board", files.file("board.json"), "--real-clock", "90", "--service-address",
                         "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(),
                         "--api-key", "standin-key", "--stale-after", "3600", "--set", "Request Interval=1", "--set",
                         "Request Start Time=00:00", "--set", "Request End Time=23:59", "--serve", "127.0.0.1:0",
                         "--out", files.file("out"), "--no-progress", "--quiet"},
                        files.file("stderr.txt"));
  const std::optional<std::string> line = run.lineWith("tarvio-chart: live view at http://", 20);
  ASSERT_TRUE(line) << run.standardError();
  const std::string url = line->substr(line->find("http://"));
  ScratchFolder profile;
  HeadlessBrowser browser(program, profile.path());
  std::string error;
  ASSERT_TRUE(browser.open(url, 1600, 1000, error)) << error;
  auto value = [&](const std::string& expression) { return browser.evaluate(expression).value_or("null"); };

  // Both pictures, at the size each is shown; the failed chart marked with its reason.
  const std::string picturesShown = "window.liveBoard.charts.ES?.pictures > 0 && window.liveBoard.charts.NQ?.pictures > 0";
  ASSERT_TRUE(browser.waitFor(picturesShown, 20)) << value("window.liveBoard") << run.standardError();
  for (const char* chart : {"ES", "NQ"}) {
    const std::string image = "document.querySelector('[data-chart=" + std::string(chart) + "] .card-image')";
    EXPECT_EQ(value(image + ".naturalWidth + 'x' + " + image + ".naturalHeight"),
              value("window.liveBoard.charts." + std::string(chart) + ".size")) << chart;
  }
  EXPECT_TRUE(browser.waitFor("document.querySelector('[data-chart=gone]').classList.contains('failed')", 10));
  EXPECT_NE(value("document.querySelector('[data-chart=gone] .card-failed-reason').textContent").find("cannot be read"),
            std::string::npos);

  // A change is pushed: new pictures come while the page has never polled.
  ASSERT_TRUE(browser.waitFor("document.querySelectorAll('[data-chart=NQ] .card-levels tbody tr').length > 0", 10));
  const std::string before = value("window.liveBoard.charts.ES.changesShown");
  EXPECT_TRUE(browser.waitFor("window.liveBoard.charts.ES.changesShown > " + before, 15)) << value("window.liveBoard");
  EXPECT_EQ(value("[window.liveBoard.pushed, window.liveBoard.polls, window.liveBoard.events > 0]"), "[true,0,true]");

  const std::optional<std::string> screenshot = browser.screenshot();
  ASSERT_TRUE(screenshot);
  std::ofstream("board-page.png", std::ios::binary) << *screenshot;

  // A chart clicked opens large, at a larger picture, the others hidden; and back.
  const std::string smallSize = value("window.liveBoard.charts.NQ.size");
  ASSERT_TRUE(browser.evaluate("document.querySelector('[data-chart=NQ]').click(), true"));
  EXPECT_TRUE(browser.waitFor("window.liveBoard.large === 'NQ' && window.liveBoard.charts.NQ.size !== " + smallSize, 10))
      << value("window.liveBoard.charts.NQ");
  EXPECT_EQ(value("[document.querySelector('[data-chart=ES]').hidden, document.getElementById('back').hidden]"),
            "[true,false]");
  ASSERT_TRUE(browser.evaluate("document.getElementById('back').click(), true"));
  EXPECT_TRUE(browser.waitFor("window.liveBoard.large === '' && !document.querySelector('[data-chart=ES]').hidden", 5));

  // One list of alerts across the charts, newest first, each with its chart's name.
  EXPECT_EQ(value("(showAlerts([{name: 'ES', now: '2026-03-02 10:05:00', alertList: ["
                  "{time: '2026-03-02 10:00:00', text: 'ES one'}, {time: '2026-03-02 10:02:00', text: 'ES two'}]}, "
                  "{name: 'NQ', now: '2026-03-02 10:05:00', alertList: [{time: '2026-03-02 10:01:00', text: 'NQ one'}]}]), "
                  "Array.from(document.querySelectorAll('#alerts li')).map((item) => item.textContent))"),
            R"(["10:02:00 ES ES two","10:01:00 NQ NQ one","10:00:00 ES ES one"])");

  const std::string rowsOfEach = value(
      "Object.fromEntries(['ES', 'NQ'].map((name) => [name, Array.from(document.querySelectorAll("
      "'[data-chart=' + name + '] .card-levels tbody tr')).map((row) => [row.cells[0].textContent, "
      "row.cells[1].textContent])]))");
  EXPECT_TRUE(browser.problems().empty()) << testing::PrintToString(browser.problems());
  run.requestStop();
  EXPECT_EQ(run.waitForExit(30), 2) << run.standardError();  // the failed chart's status

  // Each table lists its own chart's drawings, by name and price.
  const rapidjson::Document rows = parsed(rowsOfEach);
  ASSERT_TRUE(rows.IsObject()) << rowsOfEach;
  for (const char* chart : {"ES", "NQ"}) {
    const rapidjson::Document drawings = parsed(readText(files.file("out/") + chart + "-drawings.json"));
    ASSERT_TRUE(drawings.IsArray()) << chart;
    const auto& table = rows[chart];
    EXPECT_EQ(table.Size(), drawings.Size()) << chart << ": " << rowsOfEach;
    for (const auto& row : table.GetArray()) {
      bool drawn = false;
      for (const auto& drawing : drawings.GetArray())
        drawn = drawn || (std::string(drawing["label"].GetString()).rfind(std::string(row[0].GetString()) + ":", 0) == 0 &&
                          std::fabs(drawing["price"].GetDouble() - std::atof(row[1].GetString())) < 0.005);
      EXPECT_TRUE(drawn) << chart << " " << row[0].GetString() << " " << row[1].GetString();
    }
  }
}

}  // namespace
