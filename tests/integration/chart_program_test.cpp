// tarvio-chart as a person runs it: a separate process loading the real
// module, talking TLS to a tarvio-standin process, writing its picture,
// outputs, drawings and log; and refusing bad command lines and files with
// one line and a non-zero exit.
#include <cairo.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/standin_process.h"
#include "support/text_files.h"
#include "host/civil_calendar.h"
#include "tools/support/date_time_text.h"
#include "tools/support/input_file.h"

using namespace chart_host;

namespace {

using test_text::linesOf;
using test_text::readText;

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;

// Monday 2026-03-02, New York is UTC-5 that day.
constexpr int64_t kNewYorkOffsetSeconds = -5 * 3600;
int64_t unixAtNewYork(int hours, int minutes) {
  return (dayNumberOfDate(2026, 3, 2) - dayNumberOfDate(1970, 1, 1)) * 86400 + hours * 3600 + minutes * 60 -
         kNewYorkOffsetSeconds;
}

// The output CSV's series 0..2 (call major, put major, zero gamma) by bar time.
std::map<std::string, std::vector<double>> levelColumns(const std::string& csv) {
  std::map<std::string, std::vector<double>> rows;
  const std::vector<std::string> lines = linesOf(csv);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::istringstream fields(lines[i]);
    std::string time, value;
    std::getline(fields, time, ',');
    std::vector<double> values;
    for (int column = 0; column < 3 && std::getline(fields, value, ','); ++column) values.push_back(std::stod(value));
    rows[time] = values;
  }
  return rows;
}

struct Drawing {
  double price = 0;
  int row = 0;
};

std::map<std::string, Drawing> drawingsByLabel(const std::string& json) {
  rapidjson::Document document;
  document.Parse(json.c_str());
  std::map<std::string, Drawing> drawings;
  if (!document.IsArray()) return drawings;
  for (const auto& drawing : document.GetArray()) {
    const std::string label = drawing["label"].GetString();
    drawings[label.substr(0, label.find(':'))] = Drawing{drawing["price"].GetDouble(), drawing["row"].GetInt()};
  }
  return drawings;
}

class Picture {
 public:
  explicit Picture(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
  ~Picture() { cairo_surface_destroy(surface_); }
  bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
  int width() const { return cairo_image_surface_get_width(surface_); }
  int height() const { return cairo_image_surface_get_height(surface_); }
  // "#RRGGBB" of a pixel.
  std::string color(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const uint32_t pixel =
        *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(surface_) + x * 4);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    return text;
  }
  // How many pixels of the row, between two columns, have the colour.
  int countInRow(int y, int from, int to, const std::string& wanted) const {
    int count = 0;
    for (int x = from; x < to; ++x) count += color(x, y) == wanted ? 1 : 0;
    return count;
  }

 private:
  cairo_surface_t* surface_;
};

ProcessResult runChart(const std::vector<std::string>& arguments) {
  return standin_test::runProgram(TARVIO_CHART_PATH, arguments, 60);
}

constexpr const char* kZeroGammaColor = "#FF00AA";
constexpr const char* kCallBarColor = "#12A4F0";
constexpr const char* kPutBarColor = "#F0A412";

class ChartProgram : public testing::Test {
 protected:
  // One run from 10:15 to 10:20 on bars from 09:00 that follow the
  // stand-in's spot, against a stand-in whose clock stands at 10:15.
  ProcessResult runAgainst(StandinProcess& standin, std::vector<std::string> extra = {}) {
    const std::string window = std::to_string(unixAtNewYork(9, 0)) + "," + std::to_string(unixAtNewYork(10, 21));
    const ProcessResult bars = standin_test::runToEnd({"--write-bars", out.file("bars.csv"), "--bars-window", window});
    if (bars.exit_status != 0) return bars;
    std::vector<std::string> arguments = {"--bars", out.file("bars.csv"),
        "--start", "2026-03-02 10:15", "--end", "2026-03-02 10:20",
        "--service-address", "127.0.0.1:" + std::to_string(standin.port()),
        "--ca-file", standin.certificatePath(), "--api-key", "standin-key",
        "--set", std::string("Zero Gamma Color=") + kZeroGammaColor, "--set", "Zero Gamma Style=Solid",
        "--set", "Zero Gamma Width=3", "--set", std::string("Call GEX Volume Color=") + kCallBarColor,
        "--set", std::string("Put GEX Volume Color=") + kPutBarColor, "--size", "1200x800",
        "--png", out.file("chart.png"), "--csv", out.file("outputs.csv"),
        "--drawings", out.file("drawings.json"), "--log", out.file("log.txt"), "--quiet",
        // The stand-in dates every answer 10:15: its levels stay live, in their colours, to the end.
        "--stale-after", "3600"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return runChart(arguments);
  }

  ScratchFolder out;
};

TEST_F(ChartProgram, WritesHistoryBeforeTheFirstAnswerAndLiveMajorsAfterIt) {
  ScratchFolder standinFiles;
  StandinProcess standin({"--now", std::to_string(unixAtNewYork(10, 15)), "--record", standinFiles.file("requests")});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run = runAgainst(standin);
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;

  // The history the study was sent, asked again with the same body.
  std::string historyPath, historyBody;
  for (const std::string& line : linesOf(readText(standinFiles.file("requests")))) {
    rapidjson::Document request;
    request.Parse(line.c_str());
    const std::string path = request["path"].GetString();
    if (path.find("/hist/") != std::string::npos) {
      historyPath = path;
      historyBody = request["body"].GetString();
    }
  }
  ASSERT_FALSE(historyPath.empty());
  const standin_test::Fetched history = standin_test::fetch(
      {standin.url(historyPath), {"Authorization: Basic standin-key"}, historyBody.c_str(), standin.certificatePath()});
  rapidjson::Document snapshots;
  snapshots.Parse(history.body.c_str());
  ASSERT_TRUE(snapshots.IsArray() && snapshots.Size() >= 40) << history.body.substr(0, 200);

  const auto rows = levelColumns(readText(out.file("outputs.csv")));
  ASSERT_EQ(rows.size(), 81u);  // 09:00 to 10:20
  int historyRowsChecked = 0;
  for (const auto& snapshot : snapshots.GetArray()) {
    const int64_t newYork = snapshot["timestamp"].GetInt64() + kNewYorkOffsetSeconds;
    if (newYork >= unixAtNewYork(10, 15) + kNewYorkOffsetSeconds) continue;  // live answers own 10:15 on
    const HostDateTime bar = (dayNumberOfDate(1970, 1, 1) * 86400 + newYork / 60 * 60) * 1000000LL;
    const std::vector<double>& row = rows.at(support::formatDateTime(bar));
    EXPECT_EQ(static_cast<float>(row[0]), static_cast<float>(snapshot["major_call_gamma"].GetDouble())) << support::formatDateTime(bar);
    EXPECT_EQ(static_cast<float>(row[1]), static_cast<float>(snapshot["major_put_gamma"].GetDouble())) << support::formatDateTime(bar);
    EXPECT_EQ(static_cast<float>(row[2]), static_cast<float>(snapshot["zero_gamma"].GetDouble())) << support::formatDateTime(bar);
    ++historyRowsChecked;
  }
  EXPECT_EQ(historyRowsChecked, 45);  // 09:30 to 10:14
  EXPECT_EQ(rows.at("2026-03-02 09:29:00"), (std::vector<double>{0, 0, 0}));

  // From the first answer on, the live majors (the drawn levels' prices).
  const std::map<std::string, Drawing> drawings = drawingsByLabel(readText(out.file("drawings.json")));
  ASSERT_TRUE(drawings.count("ZG") && drawings.count("MCV") && drawings.count("MPV"));
  for (const char* time : {"2026-03-02 10:15:00", "2026-03-02 10:17:00", "2026-03-02 10:20:00"}) {
    EXPECT_EQ(rows.at(time), (std::vector<double>{drawings.at("MCV").price, drawings.at("MPV").price,
                                                  drawings.at("ZG").price}))
        << time;
  }

  // The picture: the zero-gamma line along its row, the profile's bars on
  // the rows of the majors' strikes.
  const Picture picture(out.file("chart.png"));
  ASSERT_TRUE(picture.ok());
  EXPECT_EQ(picture.width(), 1200);
  EXPECT_EQ(picture.height(), 800);
  const int zeroGammaRow = drawings.at("ZG").row;
  ASSERT_GT(zeroGammaRow, 0);
  ASSERT_LT(zeroGammaRow, 800);
  EXPECT_GT(picture.countInRow(zeroGammaRow, 0, 1000, kZeroGammaColor), 500);
  EXPECT_EQ(picture.countInRow(zeroGammaRow - 20, 0, 1000, kZeroGammaColor), 0);
  auto barOnRow = [&](int row, const char* color) {
    int count = 0;
    for (int y = row - 2; y <= row + 2; ++y) count += picture.countInRow(y, 0, 1100, color);
    return count;
  };
  EXPECT_GT(barOnRow(drawings.at("MCV").row, kCallBarColor), 10);
  EXPECT_GT(barOnRow(drawings.at("MPV").row, kPutBarColor), 10);

  // A clean run raises no alert.
  const std::string log = readText(out.file("log.txt"));
  EXPECT_EQ(log.find("ALERT"), std::string::npos) << log;
}

TEST_F(ChartProgram, LogsTheServiceRefusalsAsAlerts) {
  StandinProcess standin({"--now", std::to_string(unixAtNewYork(10, 15)), "--fault", "invalid-key"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const ProcessResult run = runAgainst(standin);
  ASSERT_EQ(run.exit_status, 4) << run.standard_error;  // a refused key halts the study's requests
  const std::vector<std::string> lines = linesOf(readText(out.file("log.txt")));
  int alerts = 0;
  for (const std::string& line : lines) alerts += line.find("  ALERT ") != std::string::npos ? 1 : 0;
  EXPECT_GE(alerts, 1);
  EXPECT_NE(readText(out.file("log.txt")).find("Invalid API Key"), std::string::npos);
}

TEST_F(ChartProgram, StopsWithOneLineWhenTheServiceCannotBeReached) {
  const ProcessResult run = runChart({"--start", "2026-03-02 10:15", "--end", "2026-03-02 10:20",
                                      "--service-address", "127.0.0.1:1", "--quiet", "--csv", out.file("o.csv")});
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(linesOf(run.standard_error).size(), 1u) << run.standard_error;
  EXPECT_NE(run.standard_error.find("cannot reach the service"), std::string::npos) << run.standard_error;
}

struct BadRun {
  const char* what;
  std::vector<std::string> arguments;
  const char* says;
};

TEST_F(ChartProgram, RefusesBadCommandLinesAndFilesWithOneLine) {
  std::ofstream(out.file("not-a-module.so")) << "text";
  std::ofstream(out.file("bad-bars.csv")) << "datetime,open,high,low,close,volume\n"
                                             "2026-03-02 09:00:00,10,11,9,10,5\n"
                                             "2026-03-02 09:01:00,10,9,11,10,5\n";
  std::ofstream(out.file("bad-settings.json")) << "{\"Ticker\": \"SPX\",";
  std::ofstream(out.file("nested-settings.json")) << "{\"Ticker\": [1]}";
  // Hostile paths: read without end, waited on without end, or followed.
  ASSERT_EQ(::mkfifo(out.file("bars.fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink(out.file("bad-bars.csv"), out.file("link.csv"));
  std::ofstream(out.file("sparse.csv")).close();
  std::filesystem::resize_file(out.file("sparse.csv"), support::kBarsFileBound_bytes + 1);
  const std::vector<BadRun> runs = {
      {"unknown option", {"--colour"}, "unknown option '--colour'"},
      {"option without value", {"--bars"}, "--bars needs a value"},
      {"bad size", {"--size", "10x10"}, "--size takes WIDTHxHEIGHT"},
      {"missing module", {"--module", out.file("none.so")}, "none.so"},
      {"not a module", {"--module", out.file("not-a-module.so")}, "not-a-module.so"},
      {"missing bars file", {"--bars", out.file("none.csv")}, "none.csv: cannot be read"},
      {"bars file a folder", {"--bars", out.path()}, "cannot be read (a folder, not a file)"},
      {"bad bars line", {"--bars", out.file("bad-bars.csv")}, "bad-bars.csv:3: the high is below the low"},
      {"bars file a device", {"--bars", "/dev/zero"}, "/dev/zero: cannot be read (a device, not a regular file)"},
      {"bars file a FIFO", {"--bars", out.file("bars.fifo")}, "bars.fifo: cannot be read (a FIFO, not a regular"},
      {"bars file a link", {"--bars", out.file("link.csv")}, "link.csv: cannot be read (a symbolic link"},
      {"bars file over its bound", {"--bars", out.file("sparse.csv")}, "sparse.csv: cannot be read (1073741825 bytes"},
      {"settings file a FIFO", {"--settings", out.file("bars.fifo")}, "bars.fifo: cannot be read (a FIFO"},
      {"missing settings file", {"--settings", out.file("none.json")}, "none.json: cannot be read"},
      {"settings not JSON", {"--settings", out.file("bad-settings.json")}, "bad-settings.json: not JSON"},
      {"settings value not a scalar", {"--settings", out.file("nested-settings.json")}, "value of 'Ticker' must be"},
      {"unknown input", {"--set", "Tickr=SPX"}, "no input is named 'Tickr'; did you mean 'Ticker"},
      {"bad whole number", {"--set", "Request Interval=soon"}, "takes a whole number, not 'soon'"},
      {"bad list option", {"--set", "Package=Gold"}, "takes one of 'Classic', 'State'"},
      {"bad colour", {"--set", "Zero Gamma Color=orange"}, "takes a colour as #RRGGBB"},
      {"bad time zone", {"--set", "Time Zone=40"}, "takes a time-zone index from 0 to 28"},
      {"bad zone text", {"--zone", "Mars+99"}, "--zone"},
      {"end before start", {"--start", "2026-03-02 10:00", "--end", "2026-03-02 09:00"}, "--end comes before"},
      {"simulated clock facing the real service", {"--api-key", "k", "--start", "2026-03-02 10:00"},
       "only talks to a stand-in of the service: give --service-address"},
  };
  for (const BadRun& bad : runs) {
    const ProcessResult run = runChart(bad.arguments);
    EXPECT_EQ(run.exit_status, 2) << bad.what << ": " << run.standard_error;
    EXPECT_EQ(linesOf(run.standard_error).size(), 1u) << bad.what << ": " << run.standard_error;
    EXPECT_EQ(run.standard_error.rfind("tarvio-chart: ", 0), 0u) << bad.what;
    EXPECT_NE(run.standard_error.find(bad.says), std::string::npos) << bad.what << ": " << run.standard_error;
  }
}

struct StatedExit {
  const char* what;
  std::vector<std::string> arguments;
  int status;
};

// Each exit status the help states, for what it says it stands for.
TEST_F(ChartProgram, ExitsWithTheStatusItsHelpStates) {
  const std::string missing = out.file("no-such-folder/");
  const std::string nowhere = "--service-address=127.0.0.1:1";
  const std::vector<StatedExit> runs = {
      {"help", {"--help"}, 0},
      {"inputs listed", {"--list-inputs"}, 0},
      {"unwritable picture", {nowhere, "--png", missing + "chart.png"}, 1},
      {"unwritable outputs", {nowhere, "--csv", missing + "outputs.csv"}, 1},
      {"unwritable drawings", {nowhere, "--drawings", missing + "drawings.json"}, 1},
      {"unwritable log", {nowhere, "--log", missing + "log.txt"}, 1},
      {"unwritable trace", {nowhere, "--trace", missing + "trace.jsonl"}, 1},
      {"bad command line", {"--step", "0"}, 2},
      {"simulated clock facing the real service", {"--start", "2026-03-02 10:15"}, 2},
      {"bad module", {"--module", out.file("none.so")}, 2},
      {"bad bars file", {"--bars", out.file("none.csv")}, 2},
      {"bad settings file", {"--settings", out.file("none.json")}, 2},
      {"service unreachable", {"--start", "2026-03-02 10:15", "--end", "2026-03-02 10:16", "--service-address",
                               "127.0.0.1:1", "--quiet"}, 3},
  };
  for (const StatedExit& stated : runs) {
    const ProcessResult run = runChart(stated.arguments);
    EXPECT_EQ(run.exit_status, stated.status) << stated.what << ": " << run.standard_error;
    if (stated.status == 0) continue;
    EXPECT_EQ(linesOf(run.standard_error).size(), 1u) << stated.what << ": " << run.standard_error;
    if (stated.status == 1) {
      EXPECT_NE(run.standard_error.find(": cannot be written"), std::string::npos) << stated.what;
    }
  }
  EXPECT_NE(runChart({"--help"}).standard_output.find("1 an output could not be written"), std::string::npos);
}

}  // namespace
