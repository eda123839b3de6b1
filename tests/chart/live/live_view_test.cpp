// The live view's pieces without a network: the --serve address and when it
// is refused, the names a request may be sent to, what the server answers
// to each request, the snapshots it answers from, and the page it carries.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <string>
#include <vector>

#include "tools/chart/command_line/chart_options.h"
#include "tools/chart/live/live_view_address.h"
#include "tools/chart/live/live_view_board.h"
#include "tools/chart/live/live_view_page.h"
#include "tools/chart/live/live_view_routes.h"
#include "tools/chart/live/status_file.h"

using namespace chart_tool;
using namespace chart_tool::command_line;
using namespace chart_tool::live;

namespace {

struct AddressCase {
  const char* text;
  bool read;
  const char* ip;
  int port;
  bool loopback;
  const char* url;  // the page's address for port 8080
};

TEST(ServeAddress, ReadsLoopbackAndOtherAddressesAndRefusesNames) {
  const std::vector<AddressCase> cases = {
      {"127.0.0.1:8080", true, "127.0.0.1", 8080, true, "http://127.0.0.1:8080/"},
      {"127.1.2.3:0", true, "127.1.2.3", 0, true, "http://127.1.2.3:8080/"},
      {"localhost:0", true, "127.0.0.1", 0, true, "http://localhost:8080/"},
      {"LocalHost:65535", true, "127.0.0.1", 65535, true, "http://LocalHost:8080/"},
      {"[::1]:8080", true, "::1", 8080, true, "http://[::1]:8080/"},
      {"[0:0:0:0:0:0:0:1]:1", true, "0:0:0:0:0:0:0:1", 1, true, "http://[0:0:0:0:0:0:0:1]:8080/"},
      {"0.0.0.0:8080", true, "0.0.0.0", 8080, false, "http://0.0.0.0:8080/"},
      {"192.168.1.20:80", true, "192.168.1.20", 80, false, "http://192.168.1.20:8080/"},
      {"[::]:8080", true, "::", 8080, false, "http://[::]:8080/"},
      {"[1::]:8080", true, "1::", 8080, false, "http://[1::]:8080/"},
      {"[fe80::a:B:c]:8080", true, "fe80::a:B:c", 8080, false, "http://[fe80::a:B:c]:8080/"},
      {"[::ffff:127.0.0.1]:8080", true, "::ffff:127.0.0.1", 8080, false, "http://[::ffff:127.0.0.1]:8080/"},
      {"128.0.0.1:80", true, "128.0.0.1", 80, false, "http://128.0.0.1:8080/"},
      // Not addresses this option takes.
      {"127.0.0.1", false, "", 0, false, ""},
      {"127.0.0.1:65536", false, "", 0, false, ""},
      {"127.0.0.1:-1", false, "", 0, false, ""},
      {":8080", false, "", 0, false, ""},
      {"::1:8080", false, "", 0, false, ""},
      {"[]:8080", false, "", 0, false, ""},
      {"[::1]x:8080", false, "", 0, false, ""},
      {"[1:2]:8080", false, "", 0, false, ""},
      {"[1:::2]:8080", false, "", 0, false, ""},
      {"[1::2::3]:8080", false, "", 0, false, ""},
      {"[:1:2:3:4:5:6:7]:8080", false, "", 0, false, ""},
      {"[1:2:3:4:5:6:7:8:9]:8080", false, "", 0, false, ""},
      {"[12345::1]:8080", false, "", 0, false, ""},
      {"[fe80::1%eth0]:8080", false, "", 0, false, ""},
      {"[::ffff:127.0.0.256]:8080", false, "", 0, false, ""},
      {"[chart.example]:80", false, "", 0, false, ""},
      {"127.0.0.256:80", false, "", 0, false, ""},
      {"127.0.0:80", false, "", 0, false, ""},
      {"127.0.0.1.5:80", false, "", 0, false, ""},
      {"127.00.0.1:80", false, "", 0, false, ""},
      {"127..0.1:80", false, "", 0, false, ""},
      {"chart.example:80", false, "", 0, false, ""},
      {"localhost.:80", false, "", 0, false, ""},
  };
  for (const AddressCase& expected : cases) {
    const std::optional<ServeAddress> address = readServeAddress(expected.text);
    ASSERT_EQ(address.has_value(), expected.read) << expected.text;
    if (!address) continue;
    EXPECT_EQ(address->ip, expected.ip) << expected.text;
    EXPECT_EQ(address->port, expected.port) << expected.text;
    EXPECT_EQ(address->loopback, expected.loopback) << expected.text;
    EXPECT_EQ(pageUrl(*address, 8080), expected.url) << expected.text;
  }
}

TEST(ServeAddress, TheCommandLineRefusesAnAddressBeyondThisMachineWithoutTheUsersWord) {
  struct Line {
    std::vector<std::string> arguments;
    const char* error;  // empty: accepted
  };
  const std::vector<Line> lines = {
      {{"--serve", "127.0.0.1:0"}, ""},
      {{"--serve", "0.0.0.0:8080", "--serve-public"}, ""},
      {{"--serve-public", "--serve", "[::]:8080"}, ""},
      {{"--serve", "0.0.0.0:8080"},
       "--serve 0.0.0.0 is not a loopback address: the page shows the levels and alerts, without a password, to "
       "anyone who can reach the port; add --serve-public to serve it there all the same"},
      {{"--serve", "localhost"}, "--serve takes ADDRESS:PORT, e.g. 127.0.0.1:8080, localhost:0 or [::1]:8080, not "
                                 "'localhost'"},
      {{"--serve-public"}, "--serve-public goes with --serve ADDRESS:PORT"},
  };
  for (const Line& line : lines) {
    ChartOptions options;
    std::string error;
    EXPECT_EQ(parseChartOptions(line.arguments, options, error), std::string(line.error).empty())
        << testing::PrintToString(line.arguments);
    EXPECT_EQ(error, line.error);
  }
}

TEST(LiveRequests, AnswerOnlyToThisMachinesNamesAndRefuseARequestWithoutHost) {
  // Loopback's names always; on a public address the machine's too, never another's.
  const ServedNames machine{{"chart-box", "chart-box.example.net", "192.168.1.20", "[fe80::a:b:c]"}};
  struct HostCase {
    const char* host;
    unsigned onLoopback;
    unsigned onPublic;
  };
  const std::vector<HostCase> hosts = {
      {"localhost", 200, 200},           {"localhost:8080", 200, 200},      {"127.0.0.1:8080", 200, 200},
      {"127.9.9.9", 200, 200},           {"[::1]:8080", 200, 200},          {"[::1]", 200, 200},
      {"chart-box", 403, 200},           {"CHART-BOX.example.net:80", 403, 200}, {"192.168.1.20:8080", 403, 200},
      {"[fe80::a:b:c]:8080", 403, 200},  {"", 400, 400},                    {"attacker.example", 403, 403},
      {"localhost.attacker.example", 403, 403}, {"127.0.0.1.example:80", 403, 403},
      {"[::ffff:7f00:1]:80", 403, 403},  {"10.0.0.1:8080", 403, 403},       {"chart-box:80x", 403, 403},
      {"chart-box.example.net.attacker.example", 403, 403}, {"::1", 403, 403}, {"[127.0.0.1]", 403, 403},
      {"192.168.1.20:8080:1", 403, 403},
  };
  LiveSnapshot snapshot;
  for (const HostCase& expected : hosts) {
    EXPECT_EQ(answerLiveRequest({"GET", "/status.json", expected.host}, snapshot, {}).status, expected.onLoopback)
        << expected.host;
    EXPECT_EQ(answerLiveRequest({"GET", "/status.json", expected.host}, snapshot, machine).status, expected.onPublic)
        << expected.host;
  }
  // The names served follow the address, not --serve-public.
  EXPECT_TRUE(servedNamesFor(*readServeAddress("127.0.0.1:0")).machine.empty());
  EXPECT_TRUE(servedNamesFor(*readServeAddress("[::1]:0")).machine.empty());
}

TEST(LiveRequests, APicturesSizeIsRoundedAndBoundedAndAskedOnlyByARequestAnswered) {
  struct SizeCase {
    LiveRequest request;
    bool sized;
    int width;
    int height;
  };
  const std::vector<SizeCase> cases = {
      {{"GET", "/chart.png", "localhost", "1136", "704"}, true, 1136, 704},
      {{"GET", "/chart.png", "localhost", "1143", "697"}, true, 1136, 704},   // to the nearest 16
      {{"HEAD", "/chart.png", "localhost", "1144", "696"}, true, 1152, 704},
      {{"GET", "/chart.png", "localhost", "10", "1"}, true, 320, 240},
      {{"GET", "/chart.png", "localhost", "99999", "99999999"}, true, 3840, 2160},
      {{"GET", "/chart.png", "localhost", "-5", "0x10"}, true, 320, 240},
      {{"GET", "/chart.png", "localhost", "", "700"}, false, 0, 0},          // the run's own size
      {{"GET", "/status.json", "localhost", "800", "600"}, false, 0, 0},
      {{"GET", "/chart.png", "attacker.example", "800", "600"}, false, 0, 0},  // never drawn for another site
      {{"GET", "/chart.png", "", "800", "600"}, false, 0, 0},
      {{"POST", "/chart.png", "localhost", "800", "600"}, false, 0, 0},
  };
  for (const SizeCase& expected : cases) {
    const std::optional<PictureSize> size = pagePictureSize(expected.request, {});
    const std::string what = expected.request.method + " " + expected.request.host + " " + expected.request.width +
                             "x" + expected.request.height;
    ASSERT_EQ(size.has_value(), expected.sized) << what;
    if (!size) continue;
    EXPECT_EQ(size->width_px, expected.width) << what;
    EXPECT_EQ(size->height_px, expected.height) << what;
  }
}

TEST(LiveBoard, DrawsEachSizeOncePerChangeKeepsTheFourAskedLatestAndFallsBackToTheNearest) {
  LiveBoard board;
  int wanted = 0;
  board.setOnWanted([&] { ++wanted; });
  const PictureSize small{640, 480}, middle{1280, 720}, large{1920, 1088}, wide{2560, 1088}, huge{3840, 2160};
  EXPECT_EQ(board.pictureAt(small), nullptr);  // no picture yet: nothing to wait for
  EXPECT_EQ(wanted, 0);
  board.publish("{}", "run's size");
  for (const PictureSize& size : {small, middle, large, wide}) EXPECT_EQ(board.pictureAt(size), nullptr);
  EXPECT_EQ(wanted, 4);
  EXPECT_EQ(board.sizesToDraw().size(), 4u);
  EXPECT_EQ(*board.nearestPicture(middle), "run's size");
  board.publishSized(middle, "middle");
  board.publishSized(large, "large");
  EXPECT_EQ(*board.pictureAt(middle), "middle");
  EXPECT_EQ(*board.nearestPicture(PictureSize{1800, 1000}), "large");
  EXPECT_EQ(board.sizesToDraw().size(), 2u);
  board.publishSized(small, "");  // could not be drawn: not tried again before the next change
  board.publishSized(wide, "wide");
  EXPECT_TRUE(board.sizesToDraw().empty());
  // A fifth size drops the one asked least lately (small).
  board.pictureAt(large);
  board.pictureAt(wide);
  EXPECT_EQ(board.pictureAt(huge), nullptr);
  std::vector<PictureSize> toDraw = board.sizesToDraw();
  ASSERT_EQ(toDraw.size(), 1u);
  EXPECT_TRUE(toDraw[0] == huge);
  // A change: every size kept is drawn again, and until then the older pictures are not sent.
  board.publish("{}", "run's size 2");
  EXPECT_EQ(board.sizesToDraw().size(), 4u);
  EXPECT_EQ(board.pictureAt(middle), nullptr);
  EXPECT_EQ(*board.nearestPicture(middle), "run's size 2");
  board.publishStatus("{\"calls\": 3}");  // not a change: what was drawn stays current
  board.publishSized(middle, "middle 2");
  board.publishStatus("{\"calls\": 4}");
  EXPECT_EQ(*board.pictureAt(middle), "middle 2");
}

std::string headerOf(const LiveReply& reply, const std::string& name) {
  for (const auto& [key, value] : reply.headers)
    if (key == name) return value;
  return {};
}

TEST(LiveRequests, ServeThePageTheStatusAndThePictureNeverToBeCached) {
  LiveBoard board;
  struct Expected {
    const char* method;
    const char* path;
    unsigned status;
    const char* contentType;
  };
  const std::vector<Expected> beforeTheFirstPicture = {
      {"GET", "/", 200, "text/html; charset=utf-8"},
      {"HEAD", "/live.js", 200, "text/javascript; charset=utf-8"},
      {"GET", "/live.css", 200, "text/css; charset=utf-8"},
      {"GET", "/status.json", 200, "application/json; charset=utf-8"},
      {"GET", "/chart.png", 503, "text/plain; charset=utf-8"},
      {"GET", "/index.html", 404, "text/plain; charset=utf-8"},
      {"GET", "", 404, "text/plain; charset=utf-8"},
      {"GET", "//", 404, "text/plain; charset=utf-8"},
      {"POST", "/", 405, "text/plain; charset=utf-8"},
      {"get", "/", 405, "text/plain; charset=utf-8"},
      {"TRACE", "/status.json", 405, "text/plain; charset=utf-8"},
  };
  for (const Expected& expected : beforeTheFirstPicture) {
    const LiveReply reply = answerLiveRequest({expected.method, expected.path, "127.0.0.1"}, *board.current(), {});
    EXPECT_EQ(reply.status, expected.status) << expected.method << " " << expected.path;
    EXPECT_EQ(reply.contentType, expected.contentType) << expected.path;
    EXPECT_EQ(headerOf(reply, "Cache-Control"), "no-store") << expected.path;
    EXPECT_EQ(headerOf(reply, "Allow"), expected.status == 405 ? "GET, HEAD" : "") << expected.path;
    EXPECT_EQ(headerOf(reply, "Retry-After"), expected.status == 503 ? "1" : "") << expected.path;
  }
  EXPECT_EQ(answerLiveRequest({"GET", "/status.json", "localhost"}, *board.current(), {}).body, "{}\n");

  board.publish("{\"changes\": 1}\n", "PNG one");
  board.publishStatus("{\"changes\": 1, \"calls\": 2}\n");
  const std::shared_ptr<const LiveSnapshot> latest = board.current();
  EXPECT_EQ(answerLiveRequest({"GET", "/chart.png", "localhost"}, *latest, {}).body, "PNG one");
  EXPECT_EQ(answerLiveRequest({"GET", "/chart.png", "localhost"}, *latest, {}).contentType, "image/png");
  EXPECT_EQ(answerLiveRequest({"GET", "/status.json", "localhost"}, *latest, {}).body, "{\"changes\": 1, \"calls\": 2}\n");
  // A snapshot handed out stays as it was while newer ones are published.
  board.publish("{}", "PNG two");
  EXPECT_EQ(*latest->png, "PNG one");
  EXPECT_EQ(*board.current()->png, "PNG two");
}

TEST(LivePage, CarriesEveryFileItUsesAndFetchesNothingFromOutside) {
  const std::vector<PageFile>& files = livePageFiles();
  ASSERT_EQ(files.size(), 6u);
  std::string pages;  // the single chart's page and the board's
  for (const PageFile& file : files) {
    EXPECT_FALSE(file.body.empty()) << file.path;
    for (const char* outside : {"http:", "https:", "@import", "url(", "src=\"//", "href=\"//"})
      EXPECT_EQ(file.body.find(outside), std::string::npos) << file.path << " holds " << outside;
    if (file.path == "/" || file.path == "/board.html") pages += std::string(file.body);
  }
  for (const PageFile& file : files) {
    if (file.path == "/" || file.path == "/board.html") continue;
    EXPECT_NE(pages.find("\"" + std::string(file.path) + "\""), std::string::npos) << file.path << " is not used";
  }
  // What the scripts ask the server for is what the server answers.
  LiveSnapshot snapshot;
  for (const char* path : {"/status.json", "/live.js", "/live.css", "/live_common.js", "/board.js"})
    EXPECT_EQ(answerLiveRequest({"GET", path, "localhost"}, snapshot, {}).status, 200u) << path;
}

TEST(LiveStatus, GivesThePageThePicturesMarksLastPriceTickSizeAndChangesAfterTheFirstMembers) {
  const std::string key = "status-key-Wq81";
  ServiceRecord record;
  StatusExtras extras;
  extras.title = "ES_SPX  \u00b7  " + key;
  extras.dataAge = "levels as of 10:15:00, 5 s ago";
  extras.warning = "STALE";
  extras.lastPrice = 5801.75f;
  extras.tickSize = 0.25f;
  extras.changes = 12;
  const std::string text = statusJson(record, {{"ZG", 5790.45f, 9, 0}}, {}, "", key, extras);
  EXPECT_EQ(text.find(key), std::string::npos) << text;
  rapidjson::Document status;
  status.Parse(text.c_str());
  ASSERT_TRUE(status.IsObject()) << text;
  // The members the file had keep their place in front.
  const char* first[] = {"now", "lastGoodAnswer", "ageSeconds", "stale", "calls", "answers", "historyAnswers",
                         "refusals", "failedTransfers", "lastHttpStatus", "lastError", "halted", "haltReason",
                         "requestWindow", "notice", "levels", "alerts", "title", "dataAge", "warning",
                         "lastPrice", "tickSize", "changes"};
  auto member = status.MemberBegin();
  for (const char* name : first) EXPECT_STREQ((member++)->name.GetString(), name);
  EXPECT_STREQ(status["title"].GetString(), "ES_SPX  \u00b7  <API KEY>");
  EXPECT_STREQ(status["dataAge"].GetString(), "levels as of 10:15:00, 5 s ago");
  EXPECT_STREQ(status["warning"].GetString(), "STALE");
  EXPECT_EQ(status["lastPrice"].GetDouble(), 5801.75);
  EXPECT_EQ(status["tickSize"].GetDouble(), 0.25);
  EXPECT_EQ(status["changes"].GetInt(), 12);

  status.Parse(statusJson(record, {}, {}, "", "", StatusExtras{}).c_str());
  for (const char* name : {"dataAge", "warning", "lastPrice"}) EXPECT_TRUE(status[name].IsNull()) << name;
  EXPECT_EQ(status["changes"].GetInt(), 0);
}

}  // namespace
