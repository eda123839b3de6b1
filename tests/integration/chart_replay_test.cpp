// tarvio-chart --replay as a person uses it: an hour recorded against a
// tarvio-standin process over TLS (with refused and cut answers), then
// replayed with no stand-in at all: the same outputs, drawings, messages and
// trace; other display inputs change the drawing only; a ticker the run
// never asked for gets the host's note and failed transfers; frames at their
// clock times; and each recording or command line that cannot be replayed
// refused with one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/civil_calendar.h"
#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::linesOf;
using test_text::linesWith;
using test_text::readText;

namespace fs = std::filesystem;

constexpr const char* kKey = "replay-key-Vd52qR";

// Monday 2026-03-02 at 10:15 New York time (UTC-5 that day), as Unix seconds.
int64_t unixAt1015() {
  return (chart_host::dayNumberOfDate(2026, 3, 2) - chart_host::kDayNumberOf1970) * 86400 + 15 * 3600 + 15 * 60;
}

const std::vector<std::string> kWritten = {"outputs.csv", "drawings.json", "messages.log", "trace.jsonl",
                                           "status.json"};

// The arguments that write every file of kWritten into `folder`.
std::vector<std::string> writingInto(const std::string& folder) {
  return {"--csv",   folder + "/outputs.csv",  "--drawings", folder + "/drawings.json",
          "--log",   folder + "/messages.log", "--trace",    folder + "/trace.jsonl",
          "--status", folder + "/status.json", "--no-progress"};
}

ProcessResult runChart(std::vector<std::string> arguments, const std::vector<std::string>& more = {}) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 120);
}

// A run recorded against the stand-in, its files beside the recording.
struct RecordedRun {
  ScratchFolder scratch;
  ProcessResult run;
  std::string recording() const { return scratch.file("recording"); }
  std::string live() const { return scratch.file("live"); }
};

// Records 10:15 to `end` at one call every five seconds (the study's request
// interval), the stand-in's levels moving with the clock and `faults` on some
// profile answers.
std::unique_ptr<RecordedRun> record(const std::string& end, const std::vector<std::string>& faults) {
  auto recorded = std::make_unique<RecordedRun>();
  std::vector<std::string> standinArguments = {"--now", std::to_string(unixAt1015()), "--advance", "5", "--api-key",
                                               kKey, "--fault-endpoint", "profile", "--slow-seconds", "0"};
  standinArguments.insert(standinArguments.end(), faults.begin(), faults.end());
  StandinProcess standin(standinArguments);
  EXPECT_TRUE(standin.ready()) << standin.standardError();
  fs::create_directories(recorded->live());
  recorded->run = runChart({"--start", "2026-03-02 10:15", "--end", "2026-03-02 " + end, "--step", "5", "--service-address",
                            "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(),
                            "--api-key", kKey, "--record", recorded->recording()},
                           writingInto(recorded->live()));
  EXPECT_EQ(recorded->run.exit_status, 0) << recorded->run.standard_error;
  return recorded;
}

// The hour every test replays: HTTP 500 on three profile answers.
class ChartReplay : public testing::Test {
 protected:
  static void SetUpTestSuite() { hour_ = record("11:15", {"--fault", "http500", "--fault-requests", "40-42"}).release(); }
  static void TearDownTestSuite() {
    delete hour_;
    hour_ = nullptr;
  }

  // A replay of the hour writing into a folder of its own.
  ProcessResult replay(const std::vector<std::string>& more = {}) {
    return runChart({"--replay", hour_->recording()}, more);
  }

  // A copy of the hour's recording to damage.
  std::string copyOfRecording() {
    const std::string copy = out.file("copy");
    fs::copy(hour_->recording(), copy, fs::copy_options::recursive);
    return copy;
  }

  static RecordedRun* hour_;
  ScratchFolder out;
};

RecordedRun* ChartReplay::hour_ = nullptr;

// What a trace drew that the display inputs decide: each rectangle's
// colour and right edge, per repaint, and how many polygons (the dots).
struct TracedRectangle {
  int repaint;
  std::string color;
  int right;
};

struct TracedDrawing {
  std::vector<TracedRectangle> rectangles;
  std::size_t polygons = 0;
};

TracedDrawing drawingOf(const std::string& tracePath) {
  const std::string trace = readText(tracePath);
  TracedDrawing drawn;
  const auto numberAfter = [](std::string_view line, std::string_view key) {
    return std::atoi(std::string(line.substr(line.find(key) + key.size(), 12)).c_str());
  };
  for (std::size_t start = 0; start < trace.size();) {
    const std::size_t end = std::min(trace.find('\n', start), trace.size());
    const std::string_view line(trace.data() + start, end - start);
    start = end + 1;
    if (line.find("\"op\": \"polygon\"") != std::string_view::npos) ++drawn.polygons;
    if (line.find("\"op\": \"rectangle\"") == std::string_view::npos) continue;
    const std::size_t color = line.find("\"color\": \"") + 10;
    drawn.rectangles.push_back(
        {numberAfter(line, "\"repaint\": "), std::string(line.substr(color, 7)), numberAfter(line, "\"right\": ")});
  }
  return drawn;
}

// The most rectangles of `color` in one repaint.
int mostInARepaint(const std::vector<TracedRectangle>& rectangles, const std::string& color) {
  std::map<int, int> perRepaint;
  for (const TracedRectangle& r : rectangles)
    if (r.color == color) ++perRepaint[r.repaint];
  int most = 0;
  for (const auto& [repaint, count] : perRepaint) most = std::max(most, count);
  return most;
}

TEST_F(ChartReplay, WritesWhatTheRecordedRunWroteWithoutTheNetwork) {
  // The hour with refused answers, and ten minutes with answers cut short.
  const std::unique_ptr<RecordedRun> cut = record("10:25", {"--fault", "close", "--fault-requests", "5-7"});
  for (const RecordedRun* recorded : {hour_, cut.get()}) {
    ASSERT_EQ(recorded->run.exit_status, 0);
    const std::string again = out.file("again-" + std::to_string(recorded == hour_));
    fs::create_directories(again);
    const ProcessResult replayed = runChart({"--replay", recorded->recording()}, writingInto(again));
    ASSERT_EQ(replayed.exit_status, 0) << replayed.standard_error;
    for (const std::string& name : kWritten) {
      const std::string live = readText(recorded->live() + "/" + name);
      EXPECT_FALSE(live.empty()) << name;
      EXPECT_TRUE(live == readText(again + "/" + name)) << name << " differs from the recorded run's";
    }
  }
  // The faults are in what was replayed: the host's note of the 500, and
  // the study's own line on the cut answers.
  EXPECT_EQ(linesWith(readText(hour_->live() + "/messages.log"), "Host: the service answered HTTP 500").size(), 1u);
  EXPECT_FALSE(linesWith(readText(cut->live() + "/messages.log"), "error requesting data").empty());
}

TEST_F(ChartReplay, OtherDisplayInputsChangeTheDrawingButNotTheLevels) {
  const ProcessResult replayed =
      replay({"--set", "Profile Direction=Left", "--set", "Call GEX Volume Color=#123456", "--set",
              "Filter Call GEX Volume=3", "--set", "Display 1 Minute Prior GEX Dot=yes", "--csv", out.file("outputs.csv"),
              "--drawings", out.file("drawings.json"), "--trace", out.file("trace.jsonl"), "--no-progress"});
  ASSERT_EQ(replayed.exit_status, 0) << replayed.standard_error;
  EXPECT_TRUE(readText(out.file("outputs.csv")) == readText(hour_->live() + "/outputs.csv"));
  EXPECT_TRUE(readText(out.file("drawings.json")) == readText(hour_->live() + "/drawings.json"));

  const TracedDrawing before = drawingOf(hour_->live() + "/trace.jsonl");
  const TracedDrawing after = drawingOf(out.file("trace.jsonl"));
  const std::vector<TracedRectangle>& recorded = before.rectangles;
  const std::vector<TracedRectangle>& redrawn = after.rectangles;
  // The call bars in their new colour, at most the three largest of them.
  EXPECT_GT(mostInARepaint(recorded, "#00FF00"), 3);
  EXPECT_EQ(mostInARepaint(redrawn, "#00FF00"), 0);
  EXPECT_GE(mostInARepaint(redrawn, "#123456"), 1);
  EXPECT_LE(mostInARepaint(redrawn, "#123456"), 3);
  // Every bar grows left from one origin; centred, the positive ones grew right of it.
  ASSERT_FALSE(redrawn.empty());
  const auto endsElsewhere = [&](const TracedRectangle& r) { return r.right != redrawn.front().right; };
  EXPECT_TRUE(std::none_of(redrawn.begin(), redrawn.end(), endsElsewhere));
  EXPECT_TRUE(std::any_of(recorded.begin(), recorded.end(), endsElsewhere));
  // The one-minute dots are drawn too.
  EXPECT_GT(after.polygons, before.polygons);
}

TEST_F(ChartReplay, ATickerTheRunNeverAskedForFailsWithTheHostsNoteOncePerRoute) {
  const ProcessResult replayed = replay({"--set", "Ticker=NDX", "--api-key", kKey, "--end", "2026-03-02 10:20",
                                         "--log", out.file("messages.log"), "--status", out.file("status.json"),
                                         "--no-progress"});
  ASSERT_EQ(replayed.exit_status, 0) << replayed.standard_error;  // the recording is there: no unreachable service
  const std::string log = readText(out.file("messages.log"));
  const std::vector<std::string> notes = linesWith(log, "Host: the recording has no answer");
  ASSERT_EQ(notes.size(), 2u) << log;
  EXPECT_NE(notes[0].find("/v2/sierra/hist/NDX/classic/gex_full/majors/7 (the run never asked for it); answered as "
                          "a failed transfer"),
            std::string::npos);
  EXPECT_NE(notes[1].find("/v2/sierra/NDX/classic/full (the run never asked for it)"), std::string::npos);
  EXPECT_FALSE(linesWith(log, "There was an error requesting data from the server.").empty());
  EXPECT_NE(replayed.standard_error.find("failed transfers (no answer in the recording"), std::string::npos)
      << replayed.standard_error;
  for (const std::string& written : {log, readText(out.file("status.json")), replayed.standard_error})
    EXPECT_EQ(written.find(kKey), std::string::npos) << written;
}

TEST_F(ChartReplay, WritesFramesAtTheirClockTimesAsThePictureStoodThen) {
  const std::string frames = out.file("frames");
  const ProcessResult replayed = replay({"--frames", frames, "--frame-every", "600", "--size", "400x300", "--png",
                                         out.file("end.png"), "--csv", out.file("outputs.csv"), "--no-progress"});
  ASSERT_EQ(replayed.exit_status, 0) << replayed.standard_error;
  std::string index = "frame,time\n";
  for (int frame = 1; frame <= 7; ++frame) {
    const int minutes = 15 + 10 * (frame - 1);
    index += std::to_string(frame) + ",2026-03-02 " + (minutes < 60 ? "10:" : "11:") +
             std::to_string(minutes % 60 / 10) + std::to_string(minutes % 10) + ":00\n";
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
    EXPECT_EQ(readText(frames + name).substr(1, 3), "PNG") << name;
  }
  EXPECT_EQ(readText(frames + "/frames.csv"), index);
  EXPECT_FALSE(fs::exists(frames + "/frame-000008.png"));
  // The last frame is the end's picture, and drawing frames changes no output.
  EXPECT_TRUE(readText(frames + "/frame-000007.png") == readText(out.file("end.png")));
  EXPECT_TRUE(readText(out.file("outputs.csv")) == readText(hour_->live() + "/outputs.csv"));

  // A shorter interval against the stand-in, over a run that ended before the
  // first frame: a second run in the folder leaves only its own frames.
  StandinProcess standin({"--now", std::to_string(unixAt1015()), "--api-key", kKey});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult live = runChart({"--start", "2026-03-02 10:15", "--end", "2026-03-02 10:16:30", "--step", "5",
                                       "--service-address", "127.0.0.1:" + std::to_string(standin.port()), "--ca-file",
                                       standin.certificatePath(), "--api-key", kKey, "--frames", frames,
                                       "--frame-every", "45", "--size", "400x300", "--no-progress", "--quiet"});
  ASSERT_EQ(live.exit_status, 0) << live.standard_error;
  EXPECT_EQ(readText(frames + "/frames.csv"),
            "frame,time\n1,2026-03-02 10:15:00\n2,2026-03-02 10:15:45\n3,2026-03-02 10:16:30\n");
  EXPECT_FALSE(fs::exists(frames + "/frame-000004.png"));
}

TEST_F(ChartReplay, RefusesWhatCannotBeReplayedWithOneLine) {
  const std::string damagedBody = copyOfRecording();
  {
    const std::string body = damagedBody + "/bodies/000003.body";
    std::string bytes = readText(body);
    ASSERT_FALSE(bytes.empty());
    bytes[bytes.size() / 2] ^= 0x20;
    std::ofstream(body, std::ios::binary | std::ios::trunc) << bytes;
  }
  const std::string damagedIndex = out.file("index");
  fs::copy(damagedBody, damagedIndex, fs::copy_options::recursive);
  fs::copy_file(hour_->recording() + "/bodies/000003.body", damagedIndex + "/bodies/000003.body",
                fs::copy_options::overwrite_existing);
  {
    std::vector<std::string> lines = linesOf(readText(damagedIndex + "/exchanges.jsonl"));
    lines[2] = "{\"number\": not a line";
    std::ofstream index(damagedIndex + "/exchanges.jsonl", std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) index << line << "\n";
  }
  struct Case {
    std::vector<std::string> arguments;
    std::string says;
  };
  const std::vector<Case> cases = {
      {{"--replay", out.file("nowhere")}, "exchanges.jsonl: cannot be read"},
      {{"--replay", damagedBody}, "000003.body: checksum"},
      {{"--replay", damagedIndex}, "exchanges.jsonl line 3"},
      {{"--replay", hour_->recording(), "--real-clock", "60"}, "leave out --real-clock"},
      {{"--replay", hour_->recording(), "--service-address", "127.0.0.1:8443"}, "leave out --service-address"},
      {{"--replay", hour_->recording(), "--set", "Futures Target=ES"}, "--set \"Futures Target=\""},
      {{"--replay", hour_->recording(), "--frames", out.file("f"), "--frame-every", "0"}, "--frame-every takes"},
      {{"--frames", out.file("f"), "--real-clock", "5"}, "--frames draws a simulated run"},
  };
  for (const Case& c : cases) {
    const ProcessResult refused = runChart(c.arguments, {"--csv", out.file("never.csv")});
    EXPECT_EQ(refused.exit_status, 2) << c.says;
    ASSERT_EQ(linesOf(refused.standard_error).size(), 1u) << refused.standard_error;
    EXPECT_EQ(refused.standard_error.rfind("tarvio-chart: ", 0), 0u) << refused.standard_error;
    EXPECT_NE(refused.standard_error.find(c.says), std::string::npos) << refused.standard_error;
  }
  EXPECT_FALSE(fs::exists(out.file("never.csv")));
}

TEST_F(ChartReplay, ARecordingCutInItsLastLineIsReplayedWithOneNote) {
  const std::string cut = copyOfRecording();
  std::string index = readText(cut + "/exchanges.jsonl");
  index.resize(index.size() - 20);
  std::ofstream(cut + "/exchanges.jsonl", std::ios::binary | std::ios::trunc) << index;
  const ProcessResult noted = runChart({"--replay", cut, "--end", "2026-03-02 10:16", "--no-progress"});
  ASSERT_EQ(noted.exit_status, 0) << noted.standard_error;
  EXPECT_EQ(linesWith(noted.standard_error, "tarvio-chart: note: ").size(), 1u) << noted.standard_error;
  const ProcessResult quiet = runChart({"--replay", cut, "--end", "2026-03-02 10:16", "--quiet"});
  ASSERT_EQ(quiet.exit_status, 0) << quiet.standard_error;
  EXPECT_EQ(quiet.standard_error, "");
}

// A window of a recording of calls: every call is still made, so the rows it
// writes from --start on are those of a replay of the whole stretch.
TEST_F(ChartReplay, AWindowWritesFromItsStartWhatTheWholeReplayWrote) {
  const ProcessResult whole = replay({"--end", "2026-03-02 10:45", "--csv", out.file("whole.csv"), "--no-progress"});
  const ProcessResult window = replay({"--start", "2026-03-02 10:30", "--end", "2026-03-02 10:45", "--csv",
                                       out.file("window.csv"), "--no-progress"});
  ASSERT_EQ(whole.exit_status, 0) << whole.standard_error;
  ASSERT_EQ(window.exit_status, 0) << window.standard_error;
  EXPECT_NE(window.standard_error.find("writes frames and output rows from --start on"), std::string::npos);
  const std::vector<std::string> wholeRows = linesOf(readText(out.file("whole.csv")));
  const std::vector<std::string> windowRows = linesOf(readText(out.file("window.csv")));
  ASSERT_GT(windowRows.size(), 2u);
  EXPECT_EQ(windowRows[1].rfind("2026-03-02 10:30:00,", 0), 0u) << windowRows[1];
  const auto from = std::find(wholeRows.begin(), wholeRows.end(), windowRows[1]);
  ASSERT_NE(from, wholeRows.end()) << "the window's first row differs from the whole replay's";
  EXPECT_TRUE(std::equal(windowRows.begin() + 1, windowRows.end(), from, wholeRows.end()));
}

// A morning on the real clock replays to what it wrote: the answers came at
// uneven delays, one transfer failed and one answer was an HTTP 500, and the
// bars file the run followed changed as it ran (the forming bar's close
// moved, then a new bar came, then a line out of order). Cut after its third exchange, the recording
// replays up to the last call that exchange allows, and says where it ends.
TEST(ChartReplayOfARealClockRun, WritesWhatTheRunWroteAndACutRecordingEndsAtItsCut) {
  StandinProcess standin({"--api-key", kKey, "--fault-schedule", "2:http500,4:close", "--delay-schedule",
                          "1:0.4,3:1.3,5:0.2,6:0.7"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder out;
  std::string bars = "datetime,open,high,low,close,volume\n";
  for (int minute = 0; minute < 30; ++minute)
    bars += "2026-03-02 09:" + std::string(minute < 10 ? "0" : "") + std::to_string(minute) + ":00,5860,5861,5859,5860,100\n";
  std::ofstream(out.file("bars.csv"), std::ios::binary | std::ios::trunc) << bars;
  fs::create_directories(out.file("live"));
  ProcessResult live;
  std::thread chart([&] {
    live = runChart({"--bars", out.file("bars.csv"), "--real-clock", "9", "--service-address",
                     "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(),
                     "--api-key", kKey, "--set", "Request Start Time=00:00", "--set", "Request End Time=23:59",
                     "--set", "Request Interval=1", "--alert", "near=40", "--record", out.file("recording")},
                    writingInto(out.file("live")));
  });
  const auto waitForCalls = [&](int calls) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (readText(out.file("live/status.json")).find("\"calls\": " + std::to_string(calls) + ",") == std::string::npos &&
           std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  };
  waitForCalls(3);
  bars.replace(bars.rfind("5860,100\n"), 9, "5860.75,100\n");  // the forming bar's close moves
  std::ofstream(out.file("bars.csv"), std::ios::binary | std::ios::trunc) << bars;
  waitForCalls(6);
  std::ofstream(out.file("bars.csv"), std::ios::app) << "2026-03-02 09:30:00,5862,5866,5861,5865.5,100\n"
                                                      << "2026-03-02 09:20:00,5862,5866,5861,5865.5,100\n";
  chart.join();
  ASSERT_EQ(live.exit_status, 0) << live.standard_error;

  fs::create_directories(out.file("replay"));
  fs::create_directories(out.file("cut"));
  const ProcessResult replayed = runChart({"--replay", out.file("recording"), "--api-key", kKey},
                                          writingInto(out.file("replay")));
  ASSERT_EQ(replayed.exit_status, 0) << replayed.standard_error;
  for (const std::string& file : {"outputs.csv", "drawings.json", "messages.log", "trace.jsonl"})
    EXPECT_TRUE(readText(out.file("replay/" + file)) == readText(out.file("live/" + file))) << file;
  EXPECT_NE(readText(out.file("live/messages.log")).find("ALERT"), std::string::npos);
  EXPECT_NE(readText(out.file("live/messages.log")).find("bars.csv:33: a bar of 2026-03-02 09:20:00"), std::string::npos)
      << "the line out of order is told, and replayed";

  // Cut after the third exchange's line, as a run killed there leaves it.
  const std::string index = out.file("recording/exchanges.jsonl");
  std::vector<std::string> lines = linesOf(readText(index));
  const auto third = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& line) { return line.rfind("{\"number\":3,", 0) == 0; });
  ASSERT_NE(third, lines.end());
  lines.erase(third + 1, lines.end());
  std::string kept;
  std::string lastCallAt;
  int calls = 0;
  for (const std::string& line : lines) {
    kept += line + "\n";
    const std::size_t handed = line.find("\"handed\":");
    if (line.rfind("{\"call\":", 0) != 0 || std::atoi(line.c_str() + handed + 9) > 3) continue;
    ++calls;
    lastCallAt = line.substr(line.find("\"at\":\"") + 6, 19);
  }
  std::ofstream(index, std::ios::binary | std::ios::trunc) << kept;
  const ProcessResult cut = runChart({"--replay", out.file("recording"), "--api-key", kKey, "--end", "2026-12-31 00:00"},
                                     writingInto(out.file("cut")));
  ASSERT_EQ(cut.exit_status, 0) << cut.standard_error;
  EXPECT_NE(cut.standard_error.find("tarvio-chart: " + std::to_string(calls) + " calls: "), std::string::npos)
      << cut.standard_error;
  EXPECT_NE(cut.standard_error.find("--end: the recording ends at " + lastCallAt), std::string::npos)
      << cut.standard_error;
  EXPECT_NE(cut.standard_error.find("tarvio-chart: the recording ends at " + lastCallAt), std::string::npos);
}

}  // namespace
