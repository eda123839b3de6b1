// Files replaced whole and input files read within bounds (tools/support),
// on every platform: a concurrent writer, a missing folder, a file at and
// over its bound, a folder, the names a held folder opens. What only POSIX
// has (a FIFO, a device, a link planted beside the status) is tested through
// the chart program (integration/chart_program_test.cpp,
// integration/chart_status_test.cpp) and a recording's reader
// (recording/hostile_recording_posix_test.cpp); Windows' device names in
// input_file_windows_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temporary_folder.h"
#include "support/text_files.h"
#include "tools/support/file_replacement.h"
#include "tools/support/input_file.h"

namespace {

using support::Durability;
namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(FileReplacement, ReplacesWholeOrNotAtAllAndLeavesNothingBeside) {
  for (const Durability durability : {Durability::flushed, Durability::unflushed}) {
    test_files::TemporaryFolder folder;
    const std::string target = folder.file("bars.csv");
    ASSERT_TRUE(support::replaceFile(target, "old and longer", durability).ok());
    const support::Status replaced = support::replaceFile(target, "new", durability);
    ASSERT_TRUE(replaced.ok()) << replaced.message();
    EXPECT_EQ(test_text::readText(target), "new");
    EXPECT_EQ(entriesIn(folder.path()), 1u);

    const std::string nowhere = (folder.path() / "no such folder" / "bars.csv").string();
    const support::Status failed = support::replaceFile(nowhere, "x", durability);
    EXPECT_EQ(failed.message().rfind(nowhere + ": cannot be written (", 0), 0u) << failed.message();
    EXPECT_EQ(entriesIn(folder.path()), 1u);
  }
}

// Two writers of one file (two runs given one --status) never mix their
// bytes, nor leave a temporary file behind.
TEST(FileReplacement, ConcurrentWritersEachReplaceWhole) {
  test_files::TemporaryFolder folder;
  const std::string target = folder.file("status.json");
  const std::vector<std::string> contents = {std::string(100000, 'a'), std::string(70000, 'b')};
  std::vector<std::thread> writers;
  for (const std::string& content : contents)
    writers.emplace_back([&] {
      for (int i = 0; i < 50; ++i) ASSERT_TRUE(support::replaceFile(target, content, Durability::unflushed).ok());
    });
  for (int i = 0; i < 50; ++i) {
    const std::string seen = test_text::readText(target);
    EXPECT_TRUE(seen.empty() || seen == contents[0] || seen == contents[1]) << seen.size() << " bytes";
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(entriesIn(folder.path()), 1u);
}

struct InputCase {
  const char* what;
  std::string path;
  const char* reason;  // empty: read whole
};

TEST(InputFile, ReadsRegularFilesWithinTheirBoundAndRefusesTheRestInOneLine) {
  test_files::TemporaryFolder folder;
  constexpr uint64_t kBound = 16;
  std::ofstream(folder.file("at-bound.csv")) << std::string(kBound, 'x');
  std::ofstream(folder.file("over-bound.csv")) << std::string(kBound + 1, 'x');
  const std::vector<InputCase> cases = {
      {"a regular file at its bound", folder.file("at-bound.csv"), ""},
      {"one byte over", folder.file("over-bound.csv"), "17 bytes, more than the 16 an input of its kind may hold"},
      {"a folder", folder.path().string(), "a folder, not a file"},
      {"nothing there", folder.file("none.csv"), "No such file or directory"},
  };
  for (const InputCase& c : cases) {
    const support::Result<std::string> read = support::readInputFile(c.path, kBound);
    if (*c.reason == '\0') {
      EXPECT_EQ(read.ok() ? read.value() : read.message(), std::string(kBound, 'x')) << c.what;
      continue;
    }
    EXPECT_EQ(read.message(), c.path + ": cannot be read (" + c.reason + ")") << c.what;
  }
  // Absent is no failure for a reader that words it itself.
  const auto absent = support::readInputFileIfPresent(folder.file("none.csv"), kBound);
  EXPECT_TRUE(absent.ok() && !absent.value());
}

// A folder's files and folders are opened inside it, by a name of one part: a
// name that would lead out of it or below it is refused before anything is
// opened; what stands there must be of the kind asked for; nothing there is no
// failure, for the reader to word.
TEST(InputFolder, OpensOnlyWhatStandsDirectlyInside) {
  test_files::TemporaryFolder temporary;
  fs::create_directories(temporary.file("held/inner"));
  std::ofstream(temporary.file("held/inner/file.txt")) << "inside";
  std::ofstream(temporary.file("held/plain.txt")) << "plain";
  std::ofstream(temporary.file("outside.txt")) << "outside";
  auto held = support::InputFolder::openIfPresent(temporary.file("held"));
  ASSERT_TRUE(held.ok() && held.value()) << held.message();
  const support::InputFolder& folder = *held.value();
  struct Case {
    std::string name;
    bool asFolder;
    std::string reason;  // empty: opened; "-": nothing there
  };
  const std::string notInside = "not the name of a file inside its folder";
  const std::vector<Case> cases = {
      {"", false, notInside},
      {".", true, notInside},
      {"..", true, notInside},
      {"../outside.txt", false, notInside},
      {"inner/file.txt", false, notInside},
      {"inner\\file.txt", false, notInside},
      {"plain.txt", true, "a file, not a folder"},
      {"inner", false, "a folder, not a file"},
      {"none", false, "-"},
      {"none", true, "-"},
      {"plain.txt", false, ""},
      {"inner", true, ""},
  };
  // The message (empty when none) and whether something was opened.
  auto outcome = [](const auto& got) { return std::make_pair(got.message(), got.ok() && got.value().has_value()); };
  for (const Case& c : cases) {
    const auto [message, opened] =
        c.asFolder ? outcome(folder.folderIfPresent(c.name)) : outcome(folder.fileIfPresent(c.name));
    const bool refused = !c.reason.empty() && c.reason != "-";
    EXPECT_EQ(message, refused ? folder.pathOf(c.name) + ": cannot be read (" + c.reason + ")" : "") << c.name;
    EXPECT_EQ(opened, c.reason.empty()) << c.name;
  }
}

}  // namespace
