// A board's page without a network: which request each route answers and
// with what, for a board of named charts beside a single chart's page; the
// board's /status.json; and the events a stream says as charts publish.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <string>
#include <vector>

#include "tools/chart/live/live_view_board.h"
#include "tools/chart/live/live_view_events.h"
#include "tools/chart/live/live_view_routes.h"

using namespace chart_tool::live;

namespace {

ChartSnapshots latest(const std::vector<LiveBoard*>& boards) {
  ChartSnapshots snapshots;
  for (LiveBoard* board : boards) snapshots.push_back(board->current());
  return snapshots;
}

TEST(LiveBoardRoutes, AnswerEachChartByItsExactNameAndKeepTheSingleChartsAddresses) {
  LiveBoard es, nq;
  es.publish("{\"changes\":1}\n", "PNG ES");
  const ChartNames board{"ES", "NQ_NDX-2"};
  const ChartNames single{""};
  struct Route {
    const char* method;
    const char* path;
    unsigned onBoard;  // status; 0: not asked of that page
    unsigned onSingle;
    const char* boardBody;  // the start of the board's answer; empty: not checked
  };
  const std::vector<Route> routes = {
      {"GET", "/", 200, 200, "<!DOCTYPE html>"},
      {"GET", "/status.json", 200, 200, "{\"charts\":["},
      {"GET", "/chart/ES.png", 200, 404, "PNG ES"},
      {"HEAD", "/chart/ES.png", 200, 404, "PNG ES"},
      {"GET", "/chart/NQ_NDX-2.png", 503, 404, "no picture yet"},
      {"GET", "/chart/es.png", 404, 404, ""},       // names as given, case and all
      {"GET", "/chart/NQ.png", 404, 404, ""},
      {"GET", "/chart/.png", 404, 404, ""},
      {"GET", "/chart/ES.PNG", 404, 404, ""},
      {"GET", "/chart/ES.png/", 404, 404, ""},
      {"GET", "/chart/ES/ES.png", 404, 404, ""},
      {"GET", "/chart//ES.png", 404, 404, ""},
      {"GET", "/chart.png", 404, 200, ""},          // a board's pictures have names
      {"GET", "/board.html", 404, 404, ""},         // the board's page is at / only
      {"GET", "/live.js", 200, 200, ""},
      {"GET", "/events", 200, 200, ""},
      {"HEAD", "/events", 200, 200, ""},
      {"POST", "/events", 405, 405, ""},
      {"GET", "/events/", 404, 404, ""},
  };
  for (const Route& route : routes) {
    const LiveRequest request{route.method, route.path, "localhost"};
    const LiveReply onBoard = answerLiveRequest(request, board, latest({&es, &nq}), {});
    EXPECT_EQ(onBoard.status, route.onBoard) << route.method << " " << route.path;
    EXPECT_EQ(onBoard.body.rfind(route.boardBody, 0), 0u) << route.path << ": " << onBoard.body;
    EXPECT_EQ(answerLiveRequest(request, single, latest({&es}), {}).status, route.onSingle) << route.path;
    // Only a GET of /events is a stream, with the events' type and never cached.
    const bool stream = std::string(route.path) == "/events" && onBoard.status == 200;
    EXPECT_EQ(onBoard.stream, stream && std::string(route.method) == "GET") << route.method << " " << route.path;
    if (stream) {
      EXPECT_EQ(onBoard.contentType, "text/event-stream");
    }
  }
  // The two pages are not the same page.
  const LiveRequest page{"GET", "/", "localhost"};
  EXPECT_NE(answerLiveRequest(page, board, latest({&es, &nq}), {}).body,
            answerLiveRequest(page, single, latest({&es}), {}).body);
  // A request for another site is refused on a board as on a single page.
  EXPECT_EQ(answerLiveRequest({"GET", "/chart/ES.png", "attacker.example"}, board, latest({&es, &nq}), {}).status, 403u);

  // A picture at a page's size names its chart, and only where that chart is served.
  EXPECT_EQ(pictureChart("/chart/NQ_NDX-2.png", board), std::optional<std::size_t>(1));
  EXPECT_EQ(pictureChart("/chart.png", single), std::optional<std::size_t>(0));
  const std::optional<PictureSize> sized =
      pagePictureSize({"GET", "/chart/NQ_NDX-2.png", "localhost", "801", "599"}, board, {});
  ASSERT_TRUE(sized);
  EXPECT_TRUE((*sized == PictureSize{800, 592}));
  EXPECT_FALSE(pagePictureSize({"GET", "/chart.png", "localhost", "800", "600"}, board, {}));
  EXPECT_FALSE(pagePictureSize({"GET", "/chart/es.png", "localhost", "800", "600"}, board, {}));
}

TEST(LiveBoardRoutes, TheBoardsStatusCarriesEveryChartInOrderNamedAndFailedWithItsLastStatus) {
  LiveBoard es, nq, spy;
  es.publishStatus("{\"changes\":3,\"levels\":[{\"name\":\"ZG\",\"price\":5790.5}]}\n");
  nq.publishStatus("{ \n}\n");
  nq.publishFailed("--bars nq.csv: cannot be read");
  spy.publishStatus("{\"changes\":1, \"lastError\":\"a \\\"quoted\\\" reason\"}\n");
  spy.publishFailed("the service refused the key \"x\"");
  spy.publishStatus("{\"changes\":2}\n");  // a later status keeps the chart failed
  rapidjson::Document status;
  const std::string text = boardStatusJson({"ES", "NQ", "SPY"}, latest({&es, &nq, &spy}));
  status.Parse(text.c_str());
  ASSERT_TRUE(status.IsObject() && status["charts"].IsArray()) << text;
  const auto& charts = status["charts"];
  ASSERT_EQ(charts.Size(), 3u) << text;
  struct Expected {
    const char* name;
    const char* failed;  // empty: not failed
    int changes;         // -1: none
  };
  const Expected expected[] = {{"ES", "", 3}, {"NQ", "--bars nq.csv: cannot be read", -1},
                               {"SPY", "the service refused the key \"x\"", 2}};
  for (rapidjson::SizeType i = 0; i < 3; ++i) {
    const auto& chart = charts[i];
    EXPECT_STREQ(chart.MemberBegin()->name.GetString(), "name") << text;
    EXPECT_STREQ(chart["name"].GetString(), expected[i].name);
    EXPECT_EQ(chart.HasMember("failed"), *expected[i].failed != '\0') << expected[i].name;
    if (chart.HasMember("failed")) {
      EXPECT_STREQ(chart["failed"].GetString(), expected[i].failed);
    }
    EXPECT_EQ(chart.HasMember("changes") ? chart["changes"].GetInt() : -1, expected[i].changes) << expected[i].name;
  }
  EXPECT_STREQ(charts[0]["levels"][0]["name"].GetString(), "ZG");
  // A board of charts not yet started: each a named empty status.
  LiveBoard fresh;
  EXPECT_EQ(boardStatusJson({"QQQ"}, latest({&fresh})), "{\"charts\":[\n{\"name\":\"QQQ\"}\n]}\n");
}

TEST(LiveEvents, SayWhichChartsPublishedSinceTheStreamLastLookedAndWhetherTheirPictureChanged) {
  LiveBoard es, nq;
  EventFeed feed({"ES", "NQ"});
  auto next = [&] { return feed.next(latest({&es, &nq})); };
  auto event = [](const char* chart, int index, int publications, int pictures, bool changed, bool failed) {
    return "data: {\"chart\":\"" + std::string(chart) + "\",\"index\":" + std::to_string(index) +
           ",\"publications\":" + std::to_string(publications) + ",\"pictures\":" + std::to_string(pictures) +
           ",\"pictureChanged\":" + (changed ? "true" : "false") + ",\"failed\":" + (failed ? "true" : "false") +
           "}\n\n";
  };
  // The first look gives every chart, after how soon to connect again.
  EXPECT_EQ(next(), "retry: 1000\n\n" + event("ES", 0, 0, 0, false, false) + event("NQ", 1, 0, 0, false, false));
  EXPECT_EQ(next(), "");
  es.publishStatus("{}");
  EXPECT_EQ(next(), event("ES", 0, 1, 0, false, false));
  // Two changes while the stream was busy: one event, for the latest.
  nq.publish("{}", "one");
  nq.publish("{}", "two");
  EXPECT_EQ(next(), event("NQ", 1, 2, 2, true, false));
  nq.publishStatus("{}");
  EXPECT_EQ(next(), event("NQ", 1, 3, 2, false, false));
  es.publishFailed("bars file gone");
  nq.publish("{}", "three");
  EXPECT_EQ(next(), event("ES", 0, 2, 0, false, true) + event("NQ", 1, 4, 3, true, false));
  // A stream opened later starts from where each chart stands.
  EventFeed later({"ES", "NQ"});
  EXPECT_EQ(later.next(latest({&es, &nq})),
            "retry: 1000\n\n" + event("ES", 0, 2, 0, false, true) + event("NQ", 1, 4, 3, true, false));
}

}  // namespace
