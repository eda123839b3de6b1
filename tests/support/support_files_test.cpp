// Files replaced whole and input files read within bounds (tools/support):
// what a planted link, a concurrent writer, a missing folder or a hostile
// path does to them. The programs' one-line refusals of hostile paths are
// tested through the chart program (integration/chart_program_test.cpp).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(FileReplacement, ReplacesWholeNeverThroughAPlantedLinkAndLeavesNothingBeside) {
  for (const Durability durability : {Durability::flushed, Durability::unflushed}) {
    test_files::TemporaryFolder folder;
    const std::string target = folder.file("status.json");
    const std::string victim = folder.file("victim");
    std::ofstream(victim) << "keep";
    // The names the old ways of replacing used, planted as links to another file.
    for (const char* planted : {".tmp", ".partial"}) fs::create_symlink(victim, target + planted);
    ASSERT_TRUE(support::replaceFile(target, "old", durability).ok());
    const support::Status replaced = support::replaceFile(target, "new and longer", durability);
    ASSERT_TRUE(replaced.ok()) << replaced.message();
    EXPECT_EQ(test_text::readText(target), "new and longer");
    EXPECT_EQ(test_text::readText(victim), "keep");
    EXPECT_EQ(entriesIn(folder.path()), 4u);  // the target, the victim, the two links

    const support::Status failed = support::replaceFile(folder.file("no such folder/bars.csv"), "x", durability);
    EXPECT_EQ(failed.message(), folder.file("no such folder/bars.csv") + ": cannot be written (No such file or directory)");
    EXPECT_EQ(entriesIn(folder.path()), 4u);
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
  ASSERT_EQ(::mkfifo(folder.file("bars.fifo").c_str(), 0600), 0);
  fs::create_symlink(folder.file("at-bound.csv"), folder.file("link.csv"));
  const std::vector<InputCase> cases = {
      {"a regular file at its bound", folder.file("at-bound.csv"), ""},
      {"one byte over", folder.file("over-bound.csv"), "17 bytes, more than the 16 an input of its kind may hold"},
      {"a FIFO, never waited on", folder.file("bars.fifo"), "a FIFO, not a regular file"},
      {"a device without end", "/dev/zero", "a device, not a regular file"},
      {"a folder", folder.path().string(), "a folder, not a file"},
      {"a link", folder.file("link.csv"), "a symbolic link, not a regular file"},
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

}  // namespace
