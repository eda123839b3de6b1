// tarvio-chart --record against a tarvio-standin process over TLS: the
// recording holds every exchange the stand-in answered, with its status and
// the very body it sent, and never the service key; a folder already in use
// stops the run at its start; and a recording run killed at any moment
// leaves a recording that reads back, every body what its line says.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/civil_calendar.h"
#include "support/generated_responses.h"
#include "support/standin_process.h"
#include "support/text_files.h"
#include "tools/recording/call_lines.h"
#include "tools/recording/recorded_exchange.h"

extern char** environ;

namespace {

using standin_test::ProcessResult;
using standin_test::ScratchFolder;
using standin_test::StandinProcess;
using test_text::linesOf;
using test_text::readText;

constexpr const char* kKey = "rec-key-Zq81xW";

// Monday 2026-03-02 10:15 in New York (UTC-5 that day), as Unix seconds.
int64_t unixAt1015() {
  return (chart_host::dayNumberOfDate(2026, 3, 2) - chart_host::kDayNumberOf1970) * 86400 + 15 * 3600 + 15 * 60;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> chartArguments(const StandinProcess& standin, const std::string& folder,
                                        const std::string& end) {
  return {"--start", "2026-03-02 10:15", "--end", "2026-03-02 " + end, "--service-address",
          "127.0.0.1:" + std::to_string(standin.port()), "--ca-file", standin.certificatePath(), "--api-key", kKey,
          "--record", folder, "--no-progress"};
}

// The statuses the stand-in logged for requests whose target holds `part`,
// in its order ("tarvio-standin: GET /v2/... -> 500 fault=http500").
std::vector<long> standinStatuses(const std::string& log, const std::string& part) {
  std::vector<long> statuses;
  for (const std::string& line : test_text::linesWith(log, part))
    statuses.push_back(std::stol(line.substr(line.find(" -> ") + 4)));
  return statuses;
}

TEST(ChartRecord, HoldsEveryExchangeWithItsStatusAndTheBodySentAndNoKey) {
  ScratchFolder scratch;
  // The profile answers come from these files in order; the 2nd and 3rd
  // profile requests get HTTP 500 instead and use up none of them.
  std::filesystem::create_directories(scratch.file("profiles"));
  std::vector<std::string> profiles;
  for (int i = 0; i < 3; ++i) {
    profiles.push_back(makeProfileResponse(ProfileKind::Gex, 60, 10 + i));
    writeFile(scratch.file("profiles/" + std::to_string(i + 1) + ".json"), profiles.back());
  }
  StandinProcess standin({"--now", std::to_string(unixAt1015()), "--api-key", kKey, "--replay",
                          "profile=" + scratch.file("profiles"), "--fault", "http500", "--fault-endpoint", "profile",
                          "--fault-requests", "2-3"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  const std::string folder = scratch.file("recording");
  const ProcessResult run = standin_test::runProgram(TARVIO_CHART_PATH, chartArguments(standin, folder, "10:16"), 60);
  ASSERT_EQ(run.exit_status, 0) << run.standard_error;

  recording::Recording read;
  std::string error;
  ASSERT_TRUE(recording::readRecording(folder, read, error)) << error;
  EXPECT_EQ(read.note, "");
  EXPECT_TRUE(read.header.simulatedClock);
  EXPECT_EQ(read.header.stepMicroseconds, kMicrosecondsPerSecond);
  const std::vector<long> standinProfiles = standinStatuses(standin.standardError(), "/classic/full ");
  const std::vector<long> standinHistory = standinStatuses(standin.standardError(), "/hist/");
  ASSERT_GE(standinProfiles.size(), 6u);
  EXPECT_EQ(read.exchanges.size(), standinProfiles.size() + standinHistory.size());
  EXPECT_NE(run.standard_error.find("tarvio-chart: recorded " + std::to_string(read.exchanges.size()) +
                                    " exchanges in " + folder),
            std::string::npos)
      << run.standard_error;

  std::vector<long> profileStatuses;
  std::vector<long> historyStatuses;
  for (const recording::RecordedExchange& exchange : read.exchanges) {
    EXPECT_TRUE(exchange.delivered) << exchange.number << ": " << exchange.error;
    EXPECT_GT(exchange.answeredAt, exchange.requestedAt);
    const bool history = exchange.endpoint == "history";
    (history ? historyStatuses : profileStatuses).push_back(exchange.status);
    EXPECT_EQ(exchange.route, history ? "/v2/sierra/hist/ES_SPX/classic/gex_full/majors/7"
                                      : "/v2/sierra/ES_SPX/classic/full");
    EXPECT_EQ(exchange.method, history ? "POST" : "GET");
    if (history) continue;
    const std::size_t nth = profileStatuses.size();  // this profile request's place, from 1
    const std::string expected = nth == 2 || nth == 3 ? "Internal Server Error\n"
                                                      : profiles[std::min<std::size_t>(nth == 1 ? 0 : nth - 3, 2)];
    EXPECT_TRUE(exchange.body == expected) << "profile request " << nth << " recorded another body";
    const std::pair<std::string, std::string> hidden{"Authorization", recording::kHiddenKey};
    EXPECT_NE(std::find(exchange.headers.begin(), exchange.headers.end(), hidden), exchange.headers.end());
  }
  EXPECT_EQ(profileStatuses, standinProfiles);
  EXPECT_EQ(historyStatuses, standinHistory);

  // The key is nowhere in the recording, nor in what the run printed.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    EXPECT_EQ(readText(entry.path().string()).find(kKey), std::string::npos) << entry.path();
  }
  EXPECT_EQ(run.standard_error.find(kKey), std::string::npos);
}

TEST(ChartRecord, AFolderInUseStopsTheRunAtItsStartWithOneLine) {
  StandinProcess standin({"--now", std::to_string(unixAt1015()), "--api-key", kKey});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder scratch;
  std::filesystem::create_directories(scratch.file("used"));
  writeFile(scratch.file("used/notes.txt"), "mine");
  writeFile(scratch.file("a file"), "x");
  const struct {
    std::string folder;
    std::string line;
  } cases[] = {
      {scratch.file("used"), "tarvio-chart: --record: " + scratch.file("used") +
                                 ": already holds files; a recording needs a new or empty folder\n"},
      {scratch.file("a file"),
       "tarvio-chart: --record: " + scratch.file("a file") + ": is a file; a recording needs a new or empty folder\n"},
  };
  for (const auto& c : cases) {
    const ProcessResult run = standin_test::runProgram(TARVIO_CHART_PATH, chartArguments(standin, c.folder, "10:16"), 60);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.standard_error, c.line);
  }
  EXPECT_EQ(readText(scratch.file("used/notes.txt")), "mine");
}

// Starts tarvio-chart with its standard error going to `errorPath`.
int waitForExit(pid_t process) {
  int status = 0;
  waitpid(process, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

pid_t startChart(const std::vector<std::string>& arguments, const std::string& errorPath) {
  std::vector<std::string> all = {TARVIO_CHART_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t id = -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int failed = posix_spawn(&id, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? id : -1;
}

// Killed at random moments while the stand-in answers 2,000-strike profiles,
// a recording run leaves a recording that reads: at worst a cut last line,
// every body whole and what its line says (readRecording checks each
// checksum), every delivered profile the stand-in's very bytes.
TEST(ChartRecord, ARunKilledAtAnyMomentLeavesARecordingThatReads) {
  ScratchFolder scratch;
  const std::string profile = makeProfileResponse(ProfileKind::Gex, 2000, 5);
  writeFile(scratch.file("profile.json"), profile);
  StandinProcess standin({"--now", std::to_string(unixAt1015()), "--api-key", kKey, "--replay",
                          "profile=" + scratch.file("profile.json"), "--fault", "random", "--fault-rate", "0.2",
                          "--fault-endpoint", "profile"});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  std::mt19937 random(11);
  std::uniform_int_distribution<int> killAfter_ms(30, 1500);
  int exchangesSeen = 0;
  int wholeProfiles = 0;
  int cutLines = 0;
  for (int run = 0; run < 20; ++run) {
    const std::string folder = scratch.file("recording" + std::to_string(run));
    std::vector<std::string> arguments = chartArguments(standin, folder, "12:00");
    arguments.insert(arguments.end(), {"--set", "Request Interval=1", "--quiet"});
    const pid_t chart = startChart(arguments, "/dev/null");
    ASSERT_GT(chart, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(killAfter_ms(random)));
    kill(chart, SIGKILL);
    waitForExit(chart);
    if (!std::filesystem::exists(folder + "/" + recording::kIndexFileName)) continue;  // killed before it began
    recording::Recording read;
    std::string error;
    // Killed after its header and before anything it could replay: refused
    // in one line, as an empty recording is.
    const bool headerOnly =
        linesOf(readText(folder + "/" + recording::kIndexFileName)).size() <= 1;
    if (headerOnly && !recording::readRecording(folder, read, error)) {
      EXPECT_NE(error.find("no exchange recorded, only the header line"), std::string::npos) << error;
      continue;
    }
    ASSERT_TRUE(recording::readRecording(folder, read, error)) << "run " << run << ": " << error;
    cutLines += read.note.empty() ? 0 : 1;
    exchangesSeen += static_cast<int>(read.exchanges.size());
    // A fault's body (cut, empty, nested) is never the profile's size.
    for (const recording::RecordedExchange& exchange : read.exchanges) {
      if (exchange.body.size() != profile.size()) continue;
      ++wholeProfiles;
      EXPECT_TRUE(exchange.body == profile) << "run " << run << " exchange " << exchange.number;
    }
  }
  EXPECT_GT(exchangesSeen, 20) << "the runs were killed before they recorded much";
  EXPECT_GT(wholeProfiles, 5);
  RecordProperty("exchanges", exchangesSeen);
  RecordProperty("cutLines", cutLines);
}

}  // namespace

namespace {

// The recording's folder taken away mid-run: the run says so once, goes on
// to its end unrecorded, and its summary says where the recording stops.
TEST(ChartRecord, AFailureToWriteIsToldOnceAndTheRunGoesOn) {
  StandinProcess standin({"--now", std::to_string(unixAt1015()), "--api-key", kKey});
  ASSERT_TRUE(standin.ready()) << standin.standardError();
  ScratchFolder scratch;
  const std::string folder = scratch.file("recording");
  std::vector<std::string> arguments = chartArguments(standin, folder, "10:45");
  arguments.insert(arguments.end(), {"--set", "Request Interval=1"});
  const pid_t chart = startChart(arguments, scratch.file("stderr.txt"));
  ASSERT_GT(chart, 0);
  const std::string index = folder + "/" + recording::kIndexFileName;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  // Exchanges' lines, not the calls' beside them.
  const auto exchangesIn = [](const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    if (lines.empty()) return std::ptrdiff_t{0};
    return std::count_if(lines.begin() + 1, lines.end(), [](const std::string& line) { return !recording::isCallLine(line); });
  };
  while (exchangesIn(readText(index)) < 3 && std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  // The run may be writing a body in there meanwhile: taken away until it is gone.
  std::error_code busy;
  while (std::filesystem::exists(folder + "/bodies") && std::chrono::steady_clock::now() < giveUp)
    std::filesystem::remove_all(folder + "/bodies", busy);
  EXPECT_EQ(waitForExit(chart), 0);

  const std::string written = std::to_string(exchangesIn(readText(index)));
  const std::vector<std::string> told = test_text::linesWith(readText(scratch.file("stderr.txt")), "tarvio-chart: ");
  ASSERT_EQ(told.size(), 3u) << readText(scratch.file("stderr.txt"));
  EXPECT_EQ(told[0].rfind("tarvio-chart: --record: " + folder + "/bodies/", 0), 0u) << told[0];
  EXPECT_NE(told[0].find("; the run goes on without recording (the recording holds exchanges 1 to " + written + ")"),
            std::string::npos)
      << told[0];
  EXPECT_EQ(told[1].rfind("tarvio-chart: 1801 calls", 0), 0u) << told[1];
  EXPECT_EQ(told[2], "tarvio-chart: the recording in " + folder + " stopped at exchange " + written + " (writing failed)");
}

}  // namespace
