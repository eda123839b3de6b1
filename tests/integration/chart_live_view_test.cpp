// tarvio-chart's live view as a person meets it: the real program on the
// real clock against a real tarvio-standin over TLS, serving its page on a
// loopback port. Its server answers what it serves and refuses the rest,
// stays responsive with many idle connections and stops with the run; a
// port in use and an address beyond this machine are refused in one line;
// the --png file is replaced whole on every change; and in a real headless
// browser the page shows the chart, swaps in the new picture without a
// reload, lists the levels of the run's drawings, marks stale levels and
// mutes their table, mutes the whole page once the run has ended, writes
// every text of the status as text and reports no error of its own.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "integration/background_program.h"
#include "integration/headless_browser.h"
#include "integration/plain_http.h"
#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using live_test::BackgroundProgram;
using live_test::askServer;
using live_test::HeadlessBrowser;
using live_test::HttpExchange;
using live_test::requestText;
using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::readText;

using Clock = std::chrono::steady_clock;

// A key no output may show.
constexpr const char* kApiKey = "live-view-key-R8vQ3";

// Every answer of the stand-in draws the same levels: zero gamma at 5868.82.
// Its strikes make a profile a trader would recognise (the largest call bar
// at 5900, the largest put bar at 5800), so the page's screenshot shows one.
std::string fixedProfile() {
  std::string strikes;
  for (int strike = 5740; strike <= 5960; strike += 10) {
    const double value = strike >= 5870 ? std::max(20.0, 300.0 - std::abs(strike - 5900) * 6.0)
                                        : std::min(-10.0, -150.0 + std::abs(strike - 5800) * 2.0);
    std::string priors;
    for (const double share : {0.8, 0.95, 1.1, 0.7}) priors += (priors.empty() ? "" : ",") + std::to_string(value * share);
    strikes += (strikes.empty() ? "" : ",") + ("[" + std::to_string(strike) + "," + std::to_string(value) + ",0,[" +
                                               priors + "]]");
  }
  return R"({"timestamp":1772464500,"ticker":"ES_SPX","spot":5866.5,"zero_gamma":5868.82,"major_pos_vol":5900,)"
         R"("major_pos_oi":5950,"major_neg_vol":5800,"major_neg_oi":5750,"sum_gex_vol":-1234.5,"sum_gex_oi":98765.25,)"
         R"("delta_risk_reversal":-0.125,"strikes":[)" + strikes + "]}";
}

// The browser tests end the run themselves once they have looked (a slow
// machine must not see the run end under the page); this only bounds it.
constexpr int kLongestRun_s = 90;

constexpr const char* kLiveViewLine = "tarvio-chart: live view at http://";

bool isWholePng(const std::string& bytes) {
  return bytes.size() > 20 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 &&
         bytes.compare(bytes.size() - 8, 4, "IEND") == 0;
}

// The width and height of a PNG picture, from its header.
std::pair<int, int> pngSize(const std::string& bytes) {
  if (!isWholePng(bytes)) return {0, 0};
  auto at = [&](std::size_t offset) {
    return (static_cast<unsigned char>(bytes[offset]) << 24) | (static_cast<unsigned char>(bytes[offset + 1]) << 16) |
           (static_cast<unsigned char>(bytes[offset + 2]) << 8) | static_cast<unsigned char>(bytes[offset + 3]);
  };
  return {at(16), at(20)};
}

rapidjson::Document parsed(const std::string& text) {
  rapidjson::Document document;
  document.Parse(text.c_str());
  return document;
}

class LiveView : public testing::Test {
 protected:
  // The stand-in answers fixed levels, or fails as `faults` say.
  explicit LiveView(std::vector<std::string> faults = {}) : standin(standinArguments(faults)) {}

  // The chart on the real clock for `seconds`, asking every 2 seconds all
  // day, serving its page on a free loopback port.
  std::unique_ptr<BackgroundProgram> startChart(int seconds, const std::string& serve = "127.0.0.1:0",
                                                bool servePublic = false, const std::string& name = "chart") {
    std::vector<std::string> arguments = {
        "--real-clock", std::to_string(seconds), "--service-address", "127.0.0.1:" + std::to_string(standin.port()),
        "--ca-file", standin.certificatePath(), "--api-key", kApiKey, "--set", "Request Start Time=00:00",
        "--set", "Request End Time=23:59", "--set", "Request Interval=2", "--serve", serve,
        "--status", out.file("status.json"), "--drawings", out.file("drawings.json"), "--png", out.file("chart.png"),
        "--size", "1100x640", "--start-price", "5837", "--no-progress", "--quiet"};
    if (servePublic) arguments.push_back("--serve-public");
    return std::make_unique<BackgroundProgram>(TARVIO_CHART_PATH, arguments, out.file(name + "-stderr.txt"));
  }

  // The port of the page, from the line the program prints when it serves.
  static int pagePort(BackgroundProgram& chart) {
    const std::optional<std::string> line = chart.lineWith(kLiveViewLine, 20);
    if (!line) return 0;
    return std::atoi(line->c_str() + line->rfind(':') + 1);
  }

  // Waits until the run has taken its first answer (the levels are drawn).
  static bool waitForLevels(int port) {
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(15);
    while (Clock::now() < deadline) {
      if (askServer(port, requestText("GET", "/status.json")).body.find("\"ZG\"") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
  }

  ScratchFolder replies;
  ScratchFolder out;
  StandinProcess standin;

 private:
  std::vector<std::string> standinArguments(const std::vector<std::string>& faults) {
    std::ofstream(replies.file("profile.json")) << fixedProfile();
    std::vector<std::string> arguments = {"--api-key", kApiKey, "--replay", "profile=" + replies.file("profile.json")};
    arguments.insert(arguments.end(), faults.begin(), faults.end());
    return arguments;
  }
};

struct Asked {
  const char* method;
  const char* path;
  const char* host;  // "" for 127.0.0.1
  int status;
  const char* contentType;  // the start of it; "" when any
};

TEST_F(LiveView, ServesItsPagesAndRefusesEveryOtherPathMethodAndHost) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  std::unique_ptr<BackgroundProgram> chart = startChart(8);
  const int port = pagePort(*chart);
  ASSERT_GT(port, 0) << chart->standardError();
  ASSERT_TRUE(waitForLevels(port)) << chart->standardError();

  const std::vector<Asked> cases = {
      {"GET", "/", "", 200, "text/html"},
      {"GET", "/live.js", "", 200, "text/javascript"},
      {"GET", "/live.css", "", 200, "text/css"},
      {"GET", "/status.json", "", 200, "application/json"},
      {"GET", "/chart.png?change=3", "", 200, "image/png"},
      {"HEAD", "/chart.png", "", 200, "image/png"},
      {"GET", "/", "localhost:8080", 200, "text/html"},
      {"GET", "/", "[::1]:8080", 200, "text/html"},
      {"GET", "/index.html", "", 404, ""},
      {"GET", "/../etc/passwd", "", 404, ""},
      {"GET", "/favicon.ico", "", 404, ""},
      {"POST", "/", "", 405, ""},
      {"PUT", "/status.json", "", 405, ""},
      {"DELETE", "/chart.png", "", 405, ""},
      {"OPTIONS", "/", "", 405, ""},
      // A web site whose name points at this machine is not answered.
      {"GET", "/status.json", "attacker.example", 403, ""},
      {"GET", "/", "127.0.0.1.attacker.example:80", 403, ""},
  };
  for (const Asked& asked : cases) {
    const HttpExchange answer = askServer(port, requestText(asked.method, asked.path, asked.host));
    const std::string what = std::string(asked.method) + " " + asked.path + " Host " + asked.host;
    ASSERT_TRUE(answer.answered) << what;
    EXPECT_EQ(answer.status, asked.status) << what << "\n" << answer.head;
    EXPECT_EQ(answer.header("Content-Type").rfind(asked.contentType, 0), 0u) << what << "\n" << answer.head;
    EXPECT_EQ(answer.header("Cache-Control"), "no-store") << what;
    EXPECT_EQ(answer.header("Allow"), asked.status == 405 ? "GET, HEAD" : "") << what;
    if (std::string(asked.method) == "HEAD") {
      EXPECT_TRUE(answer.body.empty()) << what;
    }
    EXPECT_EQ(answer.body.find(kApiKey), std::string::npos) << what;
  }
  EXPECT_TRUE(isWholePng(askServer(port, requestText("GET", "/chart.png")).body));
  // A request whose headers will not fit is refused, not read on without end.
  const HttpExchange huge =
      askServer(port, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Filler: " + std::string(200000, 'x') + "\r\n\r\n");
  EXPECT_TRUE(!huge.answered || huge.status >= 400) << huge.head;

  // The page's status is the status file's JSON, with what the page needs.
  const rapidjson::Document status = parsed(askServer(port, requestText("GET", "/status.json")).body);
  ASSERT_TRUE(status.IsObject());
  const rapidjson::Document file = parsed(readText(out.file("status.json")));
  ASSERT_TRUE(file.IsObject());
  for (auto member = file.MemberBegin(); member != file.MemberEnd(); ++member)
    EXPECT_TRUE(status.HasMember(member->name)) << member->name.GetString();
  EXPECT_EQ(status.MemberCount(), file.MemberCount());
  EXPECT_TRUE(status["lastPrice"].IsNumber());
  EXPECT_EQ(status["tickSize"].GetDouble(), 0.25);
  EXPECT_GE(status["changes"].GetInt(), 1);
  EXPECT_EQ(chart->waitForExit(30), 0) << chart->standardError();
}

TEST_F(LiveView, AnswersWithManyIdleConnectionsOpenAndStopsWithTheRunWhileOneIsHeld) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const Clock::time_point started = Clock::now();
  std::unique_ptr<BackgroundProgram> chart = startChart(6);
  const int port = pagePort(*chart);
  ASSERT_GT(port, 0) << chart->standardError();
  std::vector<int> idle;
  for (int i = 0; i < 200; ++i) idle.push_back(live_test::openIdleConnection(port));
  EXPECT_EQ(std::count(idle.begin(), idle.end(), -1), 0);
  // One more holds a request half sent.
  const int halfSent = live_test::openIdleConnection(port);
  const std::string half = "GET /status.json HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  EXPECT_TRUE(live_test::sendText(halfSent, half));

  const Clock::time_point asked = Clock::now();
  const HttpExchange answer = askServer(port, requestText("GET", "/"));
  EXPECT_EQ(answer.status, 200);
  EXPECT_LT(Clock::now() - asked, std::chrono::seconds(2));

  EXPECT_EQ(chart->waitForExit(30), 0) << chart->standardError();
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(6 + 8)) << "the run did not end with its span";
  // Its server is gone: nothing listens on the port any more.
  EXPECT_EQ(live_test::openIdleConnection(port), -1);
  for (int fd : idle) live_test::closeConnection(fd);
  live_test::closeConnection(halfSent);
}

TEST_F(LiveView, RefusesAPortInUseAndAnAddressBeyondThisMachineInOneLine) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  std::unique_ptr<BackgroundProgram> first = startChart(6);
  const int port = pagePort(*first);
  ASSERT_GT(port, 0) << first->standardError();
  const std::vector<std::string> common = {"--real-clock", "5", "--service-address",
      "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(), "--api-key", kApiKey};

  struct Refusal {
    std::vector<std::string> serve;
    int exitStatus;
    const char* says;
  };
  const std::vector<Refusal> refusals = {
      {{"--serve", "127.0.0.1:" + std::to_string(port)}, 1, "cannot serve the page there"},
      {{"--serve", "0.0.0.0:0"}, 2, "0.0.0.0 is not a loopback address"},
      {{"--serve", "[::]:8080"}, 2, ":: is not a loopback address"},
      {{"--serve", "chart.example:8080"}, 2, "--serve takes ADDRESS:PORT"},
      {{"--serve-public"}, 2, "--serve-public goes with --serve"},
  };
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> arguments = common;
    arguments.insert(arguments.end(), refusal.serve.begin(), refusal.serve.end());
    const ProcessResult run = standin_test::runProgram(TARVIO_CHART_PATH, arguments, 30);
    EXPECT_EQ(run.exit_status, refusal.exitStatus) << run.standard_error;
    EXPECT_EQ(std::count(run.standard_error.begin(), run.standard_error.end(), '\n'), 1) << run.standard_error;
    EXPECT_NE(run.standard_error.find(refusal.says), std::string::npos) << run.standard_error;
  }
  EXPECT_EQ(first->waitForExit(30), 0) << first->standardError();
}

TEST_F(LiveView, OnTheRealClockThePictureFileIsReplacedWholeOnEveryChange) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  std::unique_ptr<BackgroundProgram> chart = startChart(7);
  ASSERT_GT(pagePort(*chart), 0) << chart->standardError();
  std::set<std::string> seen;
  int broken = 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(7);
  while (Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::string bytes = readText(out.file("chart.png"));
    if (bytes.empty()) continue;
    if (isWholePng(bytes)) {
      seen.insert(bytes);
    } else {
      ++broken;
    }
  }
  EXPECT_EQ(broken, 0) << "a reader saw a picture half written";
  EXPECT_GE(seen.size(), 2u) << "the picture was not replaced while the run went on";
  EXPECT_EQ(chart->waitForExit(30), 0) << chart->standardError();
}

// Each connection sends one byte of a never-ending header a second, and one
// that is cut connects again: more of them than the server holds. A byte
// renews no deadline, so each is cut within seconds of its start, the newest
// push the oldest out, and the page and the status are answered throughout.
TEST_F(LiveView, ServesThePageAndStatusWhile420ConnectionsTrickleTheirHeaders) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  std::unique_ptr<BackgroundProgram> chart = startChart(16);
  const int port = pagePort(*chart);
  ASSERT_GT(port, 0) << chart->standardError();
  ASSERT_TRUE(waitForLevels(port)) << chart->standardError();

  const std::string header = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Trickle: ";
  struct Trickler {
    int fd = -1;
    std::size_t sent = 0;
    Clock::time_point opened;
  };
  std::vector<Trickler> tricklers(420);
  std::atomic<bool> done{false};
  Clock::duration longestLife{};
  int cut = 0;
  std::thread trickling([&] {
    while (!done) {
      for (Trickler& trickler : tricklers) {
        char byte = 0;
        if (trickler.fd >= 0 && (recv(trickler.fd, &byte, 1, MSG_DONTWAIT) == 0 ||
                                 !live_test::sendText(trickler.fd, std::string(1, header[std::min(trickler.sent++, header.size() - 1)])))) {
          longestLife = std::max(longestLife, Clock::now() - trickler.opened);
          ++cut;
          live_test::closeConnection(std::exchange(trickler.fd, -1));
        }
        if (trickler.fd < 0) trickler = {live_test::openIdleConnection(port), 0, Clock::now()};
      }
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
  });
  int unanswered = 0;
  for (int ask = 0; ask < 16; ++ask) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (const char* path : {"/", "/status.json"})
      unanswered += askServer(port, requestText("GET", path)).status == 200 ? 0 : 1;
  }
  done = true;
  trickling.join();
  for (const Trickler& trickler : tricklers) live_test::closeConnection(trickler.fd);
  EXPECT_EQ(unanswered, 0);
  EXPECT_GE(cut, 420) << "the trickling connections were not cut";
  // Cut at 3 s from their start, give or take the watch's and the loop's beats.
  EXPECT_LT(longestLife, std::chrono::seconds(6));
  EXPECT_EQ(chart->waitForExit(30), 0) << chart->standardError();
}

// What pages ask for changes nothing the run writes: a run on the simulated
// clock whose page is asked for pictures at many sizes all along writes the
// same picture, drawings, trace and status as one whose page nobody opens.
TEST_F(LiveView, PicturesAtPagesSizesChangeNothingASimulatedRunWrites) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::vector<std::string> files = {"chart.png", "drawings.json", "trace.jsonl", "status.json"};
  auto run = [&](const std::string& name, bool asking) {
    const std::string folder = out.file(name);
    std::filesystem::create_directory(folder);
    const std::vector<std::string> arguments = {"--start", "2026-03-02 10:15", "--end", "2026-03-02 10:45",
        "--step", "20", "--service-address", "127.0.0.1:" + std::to_string(standin.port()), "--ca-file",
        standin.certificatePath(), "--api-key", kApiKey, "--set", "Request Interval=60", "--serve", "127.0.0.1:0",
        "--size", "900x500", "--stale-after", "36000", "--png", folder + "/" + files[0], "--drawings",
        folder + "/" + files[1], "--trace", folder + "/" + files[2], "--status", folder + "/" + files[3],
        "--no-progress", "--quiet"};
    BackgroundProgram chart(TARVIO_CHART_PATH, arguments, folder + "/stderr.txt");
    const int port = pagePort(chart);
    int pictures = 0;
    for (int ask = 0; asking && port > 0 && !chart.ended(); ++ask) {
      const std::pair<int, int> size{320 + 16 * (ask % 7), 240 + 48 * (ask % 5)};
      const std::string query = "?w=" + std::to_string(size.first) + "&h=" + std::to_string(size.second);
      pictures += pngSize(askServer(port, requestText("GET", "/chart.png" + query), 3).body) == size ? 1 : 0;
    }
    EXPECT_EQ(chart.waitForExit(60), 0) << chart.standardError();
    return pictures;
  };
  EXPECT_EQ(run("unasked", false), 0);
  EXPECT_GT(run("asked", true), 0) << "no picture at a size asked for came while the run went on";
  for (const std::string& file : files) {
    const std::string unasked = readText(out.file("unasked/" + file));
    EXPECT_FALSE(unasked.empty()) << file;
    EXPECT_TRUE(unasked == readText(out.file("asked/" + file))) << file << " differs";
  }
}

// This machine's first IPv4 address that is not loopback's; empty without one.
std::string interfaceAddress() {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return {};
  std::string found;
  for (const ifaddrs* at = interfaces; at != nullptr && found.empty(); at = at->ifa_next) {
    if (at->ifa_addr == nullptr || at->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(at->ifa_addr)->sin_addr, text, sizeof text);
    if (std::string(text).rfind("127.", 0) != 0) found = text;
  }
  freeifaddrs(interfaces);
  return found;
}

// --serve-public widens where the page is served, never the names it
// answers to: on loopback only loopback's, on a public address this
// machine's own too; never another's, and never a request without Host.
TEST_F(LiveView, AnswersOnlyToTheNamesOfWhereItServes) {
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  struct Serving {
    const char* address;
    bool servePublic;
  };
  const std::vector<Serving> servings = {{"127.0.0.1:0", false}, {"127.0.0.1:0", true}, {"0.0.0.0:0", true}};
  std::vector<std::unique_ptr<BackgroundProgram>> charts;
  std::vector<int> ports;
  for (std::size_t i = 0; i < servings.size(); ++i) {
    charts.push_back(startChart(8, servings[i].address, servings[i].servePublic, "chart" + std::to_string(i)));
    ports.push_back(pagePort(*charts.back()));
    ASSERT_GT(ports.back(), 0) << charts.back()->standardError();
  }
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  const std::string address = interfaceAddress();
  struct HostCase {
    std::string host;  // "-": no Host header
    int loopback;      // the status on each serving, in order
    int loopbackPublic;
    int publicAddress;
  };
  std::vector<HostCase> cases = {
      {"127.0.0.1", 200, 200, 200},          {"localhost:8080", 200, 200, 200},   {"[::1]", 200, 200, 200},
      {name, 403, 403, 200},                 {"attacker.example", 403, 403, 403}, {"-", 400, 400, 400},
      {std::string(name) + ".attacker.example", 403, 403, 403},
  };
  if (!address.empty()) cases.push_back({address + ":80", 403, 403, 200});
  for (const HostCase& expected : cases) {
    const int statuses[] = {expected.loopback, expected.loopbackPublic, expected.publicAddress};
    for (std::size_t i = 0; i < servings.size(); ++i) {
      const std::string request = expected.host == "-" ? "GET /status.json HTTP/1.0\r\n\r\n"
                                                       : requestText("GET", "/status.json", expected.host);
      EXPECT_EQ(askServer(ports[i], request).status, statuses[i])
          << "Host " << expected.host << " on " << servings[i].address << (servings[i].servePublic ? " public" : "");
    }
  }
  for (auto& chart : charts) EXPECT_EQ(chart->waitForExit(30), 0) << chart->standardError();
}

// The page in a real browser. Skipped where no browser is installed (./run
// setup installs one).
class LiveViewInBrowser : public LiveView {
 protected:
  explicit LiveViewInBrowser(std::vector<std::string> faults = {}) : LiveView(std::move(faults)) {}

  void SetUp() override {
    program = HeadlessBrowser::find();
    if (program.empty()) GTEST_SKIP() << "no headless browser installed (./run setup installs chromium-headless-shell)";
    ASSERT_TRUE(standin.ready()) << standin.standardError();
  }

  std::string number(HeadlessBrowser& browser, const std::string& expression) {
    return browser.evaluate(expression).value_or("null");
  }

  // How many colours the levels table's distances are drawn in: more than one
  // while levels above and below the price are told apart, one when muted.
  static constexpr const char* kDistanceColours =
      "new Set(Array.from(document.querySelectorAll('#levels tbody tr'))"
      ".map((row) => getComputedStyle(row.cells[2]).color)).size";

  // The chart on the real clock for `seconds`, its page open in a new
  // browser; the test fails when either cannot be had.
  void openPage(int seconds, int width_px = 1500, int height_px = 720) {
    chart = startChart(seconds);
    const int port = pagePort(*chart);
    ASSERT_GT(port, 0) << chart->standardError();
    browser = std::make_unique<HeadlessBrowser>(program, profile.path());
    std::string error;
    ASSERT_TRUE(browser->open("http://127.0.0.1:" + std::to_string(port) + "/", width_px, height_px, error)) << error;
  }

  std::unique_ptr<BackgroundProgram> chart;
  std::unique_ptr<HeadlessBrowser> browser;

  std::string program;
  ScratchFolder profile;
};

TEST_F(LiveViewInBrowser, ShowsTheChartSwapsInEachChangeWithoutAReloadAndListsTheDrawnLevels) {
  openPage(kLongestRun_s);
  if (HasFatalFailure()) return;
  HeadlessBrowser& browser = *this->browser;

  ASSERT_TRUE(browser.waitFor("document.getElementById('chart').naturalWidth > 0", 15))
      << browser.standardError() << chart->standardError();
  // At the size it is shown, not --size's: the page's 1138 pixels, rounded to 16.
  EXPECT_EQ(number(browser, "document.getElementById('chart').naturalWidth"), "1136");
  ASSERT_TRUE(browser.waitFor("document.querySelectorAll('#levels tbody tr').length > 0", 10));

  // A mark set now survives the updates: the page is never reloaded.
  ASSERT_TRUE(browser.evaluate("window.testMark = 'kept'"));
  const std::string shownBefore = number(browser, "window.liveView.changesShown");
  const std::string counterBefore = number(browser, "document.getElementById('changes').textContent");
  EXPECT_TRUE(browser.waitFor("window.liveView.changesShown > " + shownBefore + " && window.liveView.pictures > 1", 10))
      << "no new picture after a new answer";
  EXPECT_EQ(number(browser, "window.testMark"), "\"kept\"");
  // The status is fetched as soon as the change is told, the picture after it:
  // the counter may have shown this change before its picture did.
  EXPECT_TRUE(browser.waitFor("document.getElementById('changes').textContent !== " + counterBefore, 10));
  EXPECT_EQ(number(browser, "document.getElementById('warning').hidden"), "true");
  EXPECT_EQ(number(browser, "document.getElementById('chart').naturalWidth > 0"), "true");
  // Live: nothing muted, levels above and below the price in their colours.
  EXPECT_EQ(number(browser, "[window.liveView.muted, window.liveView.levelsMuted, "
                            "document.querySelector('main').className, document.getElementById('levels').className]"),
            R"([false,false,"",""])");
  EXPECT_EQ(number(browser, std::string(kDistanceColours) + " > 1"), "true");

  const std::optional<std::string> screenshot = browser.screenshot();
  ASSERT_TRUE(screenshot && isWholePng(*screenshot));
  std::ofstream("live-view.png", std::ios::binary) << *screenshot;

  const rapidjson::Document rows = parsed(number(browser,
      "Array.from(document.querySelectorAll('#levels tbody tr')).map((row) => "
      "Array.from(row.cells).map((cell) => cell.textContent))"));
  // Looked at while the page is still served: once the run ends, the page's
  // next look for a change fails, as the browser would rightly say.
  EXPECT_TRUE(browser.problems().empty()) << testing::PrintToString(browser.problems());
  chart->requestStop();
  ASSERT_EQ(chart->waitForExit(30), 0) << chart->standardError();

  // The run has ended: once its next look fails, the page says so and draws
  // the picture and the levels muted, never in live colours.
  EXPECT_TRUE(
      browser.waitFor("window.liveView.muted && document.querySelector('main').classList.contains('muted')", 10))
      << number(browser, "window.liveView");
  EXPECT_EQ(number(browser, "document.getElementById('connection').hidden"), "false");
  EXPECT_NE(number(browser, "getComputedStyle(document.getElementById('chart')).filter").find("grayscale"),
            std::string::npos);
  EXPECT_EQ(number(browser, kDistanceColours), "1");

  // Whatever a status holds is shown as text, never as markup: names, alerts
  // and notices come from people and from the service.
  const std::string marked = number(browser,
      "(() => { showStatus({title: '<h3>T</h3>', stale: true, staleReason: '<b>why</b>', alertsHeld: '<i>held</i>', "
      "notice: '<img src=x onerror=\"window.injected = 1\">', barsWarning: '<u>bars</u>', levelsWarning: '<s>far</s>', "
      "lastError: '<em>e</em>', levels: [{name: '<b>ZG</b>', price: 1}], alerts: ['<script>1</script>'], "
      "alertList: [{time: '2026-03-02 10:18:00', text: '<b>crossed</b>', kind: 'cross', direction: 'up'}]}); "
      "const aside = document.querySelector('aside'); "
      "return [aside.querySelectorAll('h3, b, i, u, s, em, img, script').length, "
      "document.getElementById('stale-reason').textContent, "
      "Array.from(document.querySelectorAll('#notices li')).map((item) => item.textContent), "
      "document.querySelector('#alerts li').textContent]; })()");
  EXPECT_EQ(marked, R"([0,"<b>why</b>",["<img src=x onerror=\"window.injected = 1\">","<u>bars</u>","<s>far</s>"],)"
                    R"("2026-03-02 10:18:00 <b>crossed</b>"])");
  EXPECT_EQ(number(browser, "(showStatus({}), document.querySelectorAll('#levels tbody tr').length)"), "0");

  // Each level listed is a drawing of the run, at the drawing's price.
  const rapidjson::Document drawings = parsed(readText(out.file("drawings.json")));
  ASSERT_TRUE(rows.IsArray() && drawings.IsArray());
  EXPECT_EQ(rows.Size(), 5u);
  for (const rapidjson::Value& row : rows.GetArray()) {
    const double price = std::atof(row[1].GetString());
    bool drawn = false;
    for (const rapidjson::Value& drawing : drawings.GetArray())
      drawn = drawn || std::fabs(drawing["price"].GetDouble() - price) < 0.005;
    EXPECT_TRUE(drawn) << row[0].GetString() << " " << row[1].GetString();
  }
  const std::vector<std::string> zeroGamma = {"ZG", "5868.82"};
  bool listed = false;
  for (const rapidjson::Value& row : rows.GetArray())
    listed = listed || (row[0].GetString() == zeroGamma[0] && row[1].GetString() == zeroGamma[1]);
  EXPECT_TRUE(listed) << "zero gamma is not listed at its price";
}

class LiveViewOfAFailingService : public LiveViewInBrowser {
 protected:
  // The first two requests (the history and one profile) are answered, every
  // later one fails.
  LiveViewOfAFailingService() : LiveViewInBrowser({"--fault", "http500", "--fault-requests", "3-1000"}) {}
};

TEST_F(LiveViewOfAFailingService, MarksTheLevelsStaleWithoutAnErrorOfItsOwn) {
  openPage(kLongestRun_s);
  if (HasFatalFailure()) return;
  HeadlessBrowser& browser = *this->browser;
  EXPECT_TRUE(browser.waitFor("document.getElementById('warning').textContent === 'STALE' && "
                              "!document.getElementById('warning').hidden", 15))
      << number(browser, "document.body.innerText") << chart->standardError();
  EXPECT_TRUE(browser.waitFor("document.getElementById('chart').naturalWidth > 0", 5));
  // Stale levels are drawn muted while the run itself is still reached, the
  // reason beside the mark.
  EXPECT_EQ(number(browser, "[window.liveView.levelsMuted, document.getElementById('levels').className, "
                            "window.liveView.muted]"),
            R"([true,"muted",false])");
  EXPECT_EQ(number(browser, kDistanceColours), "1");
  EXPECT_TRUE(browser.waitFor("document.getElementById('stale-reason').offsetHeight > 0 && "
                              "document.getElementById('stale-reason').textContent === "
                              "window.liveView.status.staleReason", 5))
      << number(browser, "window.liveView.status");
  EXPECT_TRUE(browser.problems().empty()) << testing::PrintToString(browser.problems());
  chart->requestStop();
  EXPECT_EQ(chart->waitForExit(30), 0) << chart->standardError();
}

// The picture is drawn at the size the page shows it, in device pixels, and
// again when the window changes; --size still sets the --png file's.
TEST_F(LiveViewInBrowser, LoadsThePictureAtTheSizeItIsShownInDevicePixels) {
  // The picture's frame: the window less the margins, the list beside it and
  // the frame's border; 1038 x 784 here.
  openPage(kLongestRun_s, 1400, 810);
  if (HasFatalFailure()) return;
  HeadlessBrowser& browser = *this->browser;
  constexpr const char* kShown =
      "[document.getElementById('chart').naturalWidth, document.getElementById('chart').naturalHeight]";
  EXPECT_TRUE(browser.waitFor(std::string(kShown) + ".join('x') === '1040x784'", 15)) << number(browser, kShown);
  // 638 x 574 CSS pixels at two device pixels each: 1276 x 1148, to 16.
  ASSERT_TRUE(browser.resize(1000, 600, 2));
  EXPECT_TRUE(browser.waitFor(std::string(kShown) + ".join('x') === '1280x1152'", 10)) << number(browser, kShown);
  EXPECT_TRUE(browser.problems().empty()) << testing::PrintToString(browser.problems());
  // Without a size asked, the run's own.
  EXPECT_EQ(pngSize(askServer(pagePort(*chart), requestText("GET", "/chart.png")).body), std::make_pair(1100, 640));
  chart->requestStop();
  ASSERT_EQ(chart->waitForExit(30), 0) << chart->standardError();
  EXPECT_EQ(pngSize(readText(out.file("chart.png"))), std::make_pair(1100, 640));
}

}  // namespace
