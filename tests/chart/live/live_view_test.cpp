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

TEST(LiveRequests, AnswerOnlyToThisMachinesNamesUnlessServedPublicly) {
  const std::vector<std::pair<const char*, bool>> hosts = {
      {"localhost", true},          {"localhost:8080", true},     {"127.0.0.1:8080", true},
      {"127.9.9.9", true},          {"[::1]:8080", true},         {"[::1]", true},
      {"", false},                  {"attacker.example", false},  {"localhost.attacker.example", false},
      {"127.0.0.1.example:80", false}, {"[::ffff:7f00:1]:80", false}, {"10.0.0.1:8080", false},
  };
  LiveSnapshot snapshot;
  for (const auto& [host, loopback] : hosts) {
    EXPECT_EQ(isLoopbackHost(host), loopback) << host;
    const unsigned onLoopback = answerLiveRequest({"GET", "/status.json", host}, snapshot, false).status;
    // A request without a Host (HTTP/1.0) cannot come from another site's page.
    EXPECT_EQ(onLoopback, loopback || std::string(host).empty() ? 200u : 403u) << host;
    EXPECT_EQ(answerLiveRequest({"GET", "/status.json", host}, snapshot, true).status, 200u) << host;
  }
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
    const LiveReply reply = answerLiveRequest({expected.method, expected.path, "127.0.0.1"}, *board.current(), false);
    EXPECT_EQ(reply.status, expected.status) << expected.method << " " << expected.path;
    EXPECT_EQ(reply.contentType, expected.contentType) << expected.path;
    EXPECT_EQ(headerOf(reply, "Cache-Control"), "no-store") << expected.path;
    EXPECT_EQ(headerOf(reply, "Allow"), expected.status == 405 ? "GET, HEAD" : "") << expected.path;
    EXPECT_EQ(headerOf(reply, "Retry-After"), expected.status == 503 ? "1" : "") << expected.path;
  }
  EXPECT_EQ(answerLiveRequest({"GET", "/status.json", ""}, *board.current(), false).body, "{}\n");

  board.publish("{\"changes\": 1}\n", "PNG one");
  board.publishStatus("{\"changes\": 1, \"calls\": 2}\n");
  const std::shared_ptr<const LiveSnapshot> latest = board.current();
  EXPECT_EQ(answerLiveRequest({"GET", "/chart.png", ""}, *latest, false).body, "PNG one");
  EXPECT_EQ(answerLiveRequest({"GET", "/chart.png", ""}, *latest, false).contentType, "image/png");
  EXPECT_EQ(answerLiveRequest({"GET", "/status.json", ""}, *latest, false).body, "{\"changes\": 1, \"calls\": 2}\n");
  // A snapshot handed out stays as it was while newer ones are published.
  board.publish("{}", "PNG two");
  EXPECT_EQ(*latest->png, "PNG one");
  EXPECT_EQ(*board.current()->png, "PNG two");
}

TEST(LivePage, CarriesEveryFileItUsesAndFetchesNothingFromOutside) {
  const std::vector<PageFile>& files = livePageFiles();
  ASSERT_EQ(files.size(), 3u);
  std::string index;
  for (const PageFile& file : files) {
    EXPECT_FALSE(file.body.empty()) << file.path;
    for (const char* outside : {"http:", "https:", "@import", "url(", "src=\"//", "href=\"//"})
      EXPECT_EQ(file.body.find(outside), std::string::npos) << file.path << " holds " << outside;
    if (file.path == "/") index = std::string(file.body);
  }
  for (const PageFile& file : files) {
    if (file.path == "/") continue;
    EXPECT_NE(index.find("\"" + std::string(file.path) + "\""), std::string::npos) << file.path << " is not used";
  }
  // What the script asks the server for is what the server answers.
  LiveSnapshot snapshot;
  for (const char* path : {"/status.json", "/live.js", "/live.css"})
    EXPECT_EQ(answerLiveRequest({"GET", path, ""}, snapshot, false).status, 200u) << path;
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
