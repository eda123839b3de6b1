// A bars file another program keeps writing: read again only when it
// changed, never a line still being written, and a bad file told once while
// the chart keeps what it has.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/temporary_folder.h"
#include "tools/chart/inputs/bars_file_follower.h"

using namespace chart_tool;
using namespace chart_tool::inputs;

namespace {

constexpr const char* kHeader = "datetime,open,high,low,close,volume\n";

void append(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::app) << text; }

// A bars file of one bar, already read, and its follower.
class FollowedFile : public testing::Test {
 protected:
  static std::string withOneBar(const std::string& path) {
    std::ofstream(path) << kHeader << "2026-03-02 09:30:00,10,11,9,10.5,5\n";
    return path;
  }

  const test_files::TemporaryFolder folder;
  const std::string path = withOneBar(folder.file("bars.csv"));
  Chart chart;
  BarsFileFollower follower{path, chart};
  std::string problem;
};

std::vector<float> closesOf(const std::vector<Bar>& bars) {
  std::vector<float> closes;
  for (const Bar& bar : bars) closes.push_back(bar.close);
  return closes;
}

TEST_F(FollowedFile, IsReadAgainWhenItGrowsLeavingOutALineStillBeingWritten) {
  EXPECT_TRUE(follower.lookAgain(problem).empty()) << "unchanged since it was read";

  append(path, "2026-03-02 09:31:00,10.5,12,10,11.25,7\n2026-03-02 09:32:00,11.25,11.5,11,11");
  EXPECT_EQ(closesOf(follower.lookAgain(problem)), (std::vector<float>{10.5f, 11.25f})) << "the cut line waits";
  EXPECT_TRUE(follower.lookAgain(problem).empty());

  append(path, ".5,4\n");
  EXPECT_EQ(closesOf(follower.lookAgain(problem)), (std::vector<float>{10.5f, 11.25f, 11.5f}));
  EXPECT_TRUE(problem.empty()) << problem;
}

TEST_F(FollowedFile, IsToldOnceWhenBadAndReadAgainWhenMended) {
  append(path, "2026-03-02 09:31:00,10,9,11,10,5\n");  // the high below the low
  EXPECT_TRUE(follower.lookAgain(problem).empty());
  EXPECT_NE(problem.find("bars.csv:3: the high is below the low"), std::string::npos) << problem;
  problem.clear();
  EXPECT_TRUE(follower.lookAgain(problem).empty());
  EXPECT_TRUE(problem.empty()) << "told once: " << problem;

  std::ofstream(path) << kHeader << "2026-03-02 09:30:00,10,11,9,10.5,5\n2026-03-02 09:31:00,10,11,9,10.75,5\n";
  EXPECT_EQ(closesOf(follower.lookAgain(problem)), (std::vector<float>{10.5f, 10.75f}));

  std::filesystem::remove(path);
  EXPECT_TRUE(follower.lookAgain(problem).empty());
  EXPECT_NE(problem.find("cannot be read"), std::string::npos) << problem;
}

}  // namespace
