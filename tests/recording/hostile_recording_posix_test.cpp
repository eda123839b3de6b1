// A recording folder is input from anywhere: whatever stands where a file of
// it should (a link, a device, a FIFO, a sparse giant, a body of another
// size, a header no run writes), readRecording refuses it in one line naming
// it, at once: never following it, never waiting on it, never reading what
// its size already refuses. The chart program and the stand-in, which read
// recordings through it, exit 2 with that line.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string_view>

#include "recording/recording_test_folder.h"
#include "support/standin_process.h"
#include "tools/recording/recorded_exchange.h"

using namespace recording;
using recording_test::WrittenRecording;

namespace {

namespace fs = std::filesystem;

// Makes a hostile thing in a written recording; false when the system would
// not let this process make it (a device node needs privilege).
using Hostility = std::function<bool(WrittenRecording&)>;

// `name` (a file or folder of the recording) moved out of the recording and
// a symbolic link to it left in its place: following it would read it whole.
Hostility linkedAway(const std::string& name) {
  return [name](WrittenRecording& r) {
    const std::string away = r.folder() + "-elsewhere-" + fs::path(name).filename().string();
    fs::rename(r.file(name), away);
    fs::create_symlink(away, r.file(name));
    return true;
  };
}

// Where `name` was, a FIFO no one writes to (S_IFIFO: reading would wait
// forever) or a device of zeros without end (S_IFCHR: reading never ends).
Hostility special(const std::string& name, mode_t kind) {
  return [name, kind](WrittenRecording& r) {
    struct stat zero {};
    fs::remove(r.file(name));
    return ::stat("/dev/zero", &zero) == 0 && ::mknod(r.file(name).c_str(), kind | 0600, zero.st_rdev) == 0;
  };
}

// `name` made `bytes` long: a longer file is sparse, taking no disk.
Hostility sizedTo(const std::string& name, off_t bytes) {
  return [name, bytes](WrittenRecording& r) { return ::truncate(r.file(name).c_str(), bytes) == 0; };
}

// The index's header line with the named fields given new JSON values, the
// lines after it kept (`keepRest`) or none.
Hostility header(std::vector<std::pair<std::string, std::string>> fields, bool keepRest = true) {
  return [fields, keepRest](WrittenRecording& r) {
    std::vector<std::string> lines = r.indexLines();
    for (const auto& [name, value] : fields)
      lines[0] = std::regex_replace(lines[0], std::regex("\"" + name + "\":(\"[^\"]*\"|[0-9]+)"),
                                    "\"" + name + "\":" + value);
    std::ofstream index(r.indexPath(), std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < (keepRest ? lines.size() : 1); ++i) index << lines[i] << "\n";
    return true;
  };
}

// A span at one call a second, from `first` to `last` (as the index writes times).
Hostility spanned(const std::string& first, const std::string& last) {
  return header(
      {{"firstCall", "\"" + first + "\""}, {"lastCall", "\"" + last + "\""}, {"stepMicroseconds", "1000000"}});
}

// Exchanges 1 and 2 saying their bodies are 1.5 GiB each: more than a replay
// should hold together, told from the index before any body is opened.
bool bodiesSaidHuge(WrittenRecording& r) {
  std::vector<std::string> lines = r.indexLines();
  for (std::size_t line : {1, 2}) lines[line] = std::regex_replace(lines[line], std::regex("\"bodyBytes\":11"),
                                                                   "\"bodyBytes\":1610612736");
  std::ofstream index(r.indexPath(), std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) index << line << "\n";
  return true;
}

struct HostileCase {
  const char* what;
  Hostility make;
  std::string says;  // a part of the one line, FOLDER for the recording's folder; empty: it reads
};

// Each kind of hostile file or folder, in a recording of four exchanges
// whose bodies are 11 bytes.
std::vector<HostileCase> hostileCases() {
  const std::string sizeOfBody1 = "bodies/000001.body: 3221225472 bytes where FOLDER/exchanges.jsonl line 2 says 11";
  return {
      {"a body linked elsewhere", linkedAway("bodies/000002.body"),
       "FOLDER/bodies/000002.body: cannot be read (a symbolic link, not a regular file)"},
      {"the bodies folder linked elsewhere", linkedAway("bodies"),
       "FOLDER/bodies: cannot be read (a symbolic link, not a folder)"},
      {"zeros without end as a body", special("bodies/000001.body", S_IFCHR),
       "FOLDER/bodies/000001.body: cannot be read (a device, not a regular file)"},
      {"zeros without end as the index", special("exchanges.jsonl", S_IFCHR),
       "FOLDER/exchanges.jsonl: cannot be read (a device, not a regular file)"},
      {"zeros without end as the bars", special("bars.csv", S_IFCHR),
       "FOLDER/bars.csv: cannot be read (a device, not a regular file)"},
      {"a FIFO as a body", special("bodies/000003.body", S_IFIFO),
       "FOLDER/bodies/000003.body: cannot be read (a FIFO, not a regular file)"},
      {"a FIFO as the index", special("exchanges.jsonl", S_IFIFO),
       "FOLDER/exchanges.jsonl: cannot be read (a FIFO, not a regular file)"},
      {"a sparse body of 3 GB", sizedTo("bodies/000001.body", off_t{3} << 30), "FOLDER/" + sizeOfBody1},
      {"a body shorter than its line", sizedTo("bodies/000004.body", 2),
       "FOLDER/bodies/000004.body: 2 bytes where FOLDER/exchanges.jsonl line 5 says 11"},
      {"an index of its header alone", header({}, false),
       "FOLDER/exchanges.jsonl: no exchange recorded, only the header line"},
      {"a step of one microsecond", header({{"stepMicroseconds", "1"}}),
       "FOLDER/exchanges.jsonl line 1: the header line: a step of 1 microseconds, shorter than the 1000000"},
      {"ten years at a call a second", spanned("2000-01-01 00:00:00.000000", "2010-01-01 00:00:00.000000"),
       "FOLDER/exchanges.jsonl line 1: the header line: a span of 315619201 calls at its step, more than the "
       "1000000 a recording may hold"},
      {"answers that add up to more than a recording holds", bodiesSaidHuge,
       "FOLDER/exchanges.jsonl: its answers add up to 3221225494 bytes, more than the 2147483648 a recording may "
       "hold"},
      {"a million calls, the most a recording holds",
       spanned("2026-03-02 10:15:00.000000", "2026-03-14 00:01:39.000000"), ""},
      {"a call more than the most", spanned("2026-03-02 10:15:00.000000", "2026-03-14 00:01:40.000000"),
       "FOLDER/exchanges.jsonl line 1: the header line: a span of 1000001 calls at its step"},
  };
}

std::string withFolder(std::string text, const std::string& folder) {
  for (std::size_t at = text.find("FOLDER"); at != std::string::npos; at = text.find("FOLDER", at + folder.size()))
    text.replace(at, 6, folder);
  return text;
}

TEST(HostileRecording, EachIsRefusedInOneLineNamingItAtOnce) {
  std::vector<std::string> notMade;
  for (const HostileCase& c : hostileCases()) {
    WrittenRecording recorded(4);
    if (!c.make(recorded)) {
      notMade.push_back(c.what);
      continue;
    }
    Recording read;
    std::string error;
    const auto started = std::chrono::steady_clock::now();
    const bool readWhole = readRecording(recorded.folder(), read, error);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::seconds(2)) << c.what;
    if (c.says.empty()) {
      EXPECT_TRUE(readWhole) << c.what << ": " << error;
      EXPECT_EQ(read.exchanges.size(), 4u) << c.what;
      continue;
    }
    EXPECT_FALSE(readWhole) << c.what;
    EXPECT_NE(error.find(withFolder(c.says, recorded.folder())), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what << ": " << error;
  }
  if (!notMade.empty())
    GTEST_SKIP() << "the other cases were checked; not made here: " << testing::PrintToString(notMade);
}

const HostileCase& caseOf(const std::vector<HostileCase>& cases, std::string_view what) {
  return *std::find_if(cases.begin(), cases.end(), [&](const HostileCase& c) { return c.what == what; });
}

// Through the programs: the chart program's replay and the stand-in's exit
// 2 at once with the reader's one line, a FIFO and a sparse giant awaited or
// read by neither.
TEST(HostileRecording, TheProgramsExitTwoWithTheOneLine) {
  const std::vector<HostileCase> cases = hostileCases();
  struct Run {
    const char* program;
    const char* what;
  };
  const Run runs[] = {{TARVIO_CHART_PATH, "a FIFO as the index"},
                      {TARVIO_CHART_PATH, "a sparse body of 3 GB"},
                      {TARVIO_STANDIN_PATH, "the bodies folder linked elsewhere"}};
  for (const Run& run : runs) {
    const HostileCase& c = caseOf(cases, run.what);
    WrittenRecording recorded(4);
    ASSERT_TRUE(c.make(recorded)) << c.what;
    const standin_test::ProcessResult result = standin_test::runProgram(run.program, {"--replay", recorded.folder()});
    EXPECT_EQ(result.exit_status, 2) << c.what << ": " << result.standard_error;
    EXPECT_EQ(test_text::linesOf(result.standard_error).size(), 1u) << c.what << ": " << result.standard_error;
    EXPECT_NE(result.standard_error.find(withFolder(c.says, recorded.folder())), std::string::npos)
        << c.what << ": " << result.standard_error;
  }
}

}  // namespace
