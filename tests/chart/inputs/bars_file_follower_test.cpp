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
  std::vector<std::string> told;
};

std::vector<float> closesOf(const std::vector<Bar>& bars) {
  std::vector<float> closes;
  for (const Bar& bar : bars) closes.push_back(bar.close);
  return closes;
}

TEST_F(FollowedFile, IsReadAgainWhenItGrowsLeavingOutALineStillBeingWritten) {
  EXPECT_TRUE(follower.lookAgain(told).empty()) << "unchanged since it was read";

  append(path, "2026-03-02 09:31:00,10.5,12,10,11.25,7\n2026-03-02 09:32:00,11.25,11.5,11,11");
  EXPECT_EQ(closesOf(follower.lookAgain(told)), (std::vector<float>{10.5f, 11.25f})) << "the cut line waits";
  EXPECT_TRUE(follower.lookAgain(told).empty());

  append(path, ".5,4\n");
  EXPECT_EQ(closesOf(follower.lookAgain(told)), (std::vector<float>{10.5f, 11.25f, 11.5f}));
  EXPECT_TRUE(told.empty()) << told.front();
}

// A writer that appends its forming bar again as it changes, and a line that
// comes out of order: the first replaces the newest bar, the second is
// skipped and told once, and the lines after both are read.
TEST_F(FollowedFile, TakesASameTimeLineAsTheNewestBarAndSkipsAnOlderOneTellingItOnce) {
  append(path, "2026-03-02 09:31:00,10.5,12,10,11.25,7\n2026-03-02 09:31:00,10.5,12.5,10,12.25,9\n");
  EXPECT_EQ(closesOf(follower.lookAgain(told)), (std::vector<float>{10.5f, 12.25f}));
  append(path, "2026-03-02 09:30:00,10,11,9,10,5\n2026-03-02 09:32:00,12.25,13,12,12.75,4\n");
  EXPECT_EQ(closesOf(follower.lookAgain(told)), (std::vector<float>{10.5f, 12.25f, 12.75f}));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], path + ":5: a bar of 2026-03-02 09:30:00 after the newest, of 09:31:00: skipped");
  EXPECT_EQ(follower.warning(), told[0]);
  append(path, "2026-03-02 09:33:00,12.75,13,12,12.5,4\n");
  EXPECT_EQ(follower.lookAgain(told).size(), 4u);
  EXPECT_EQ(told.size(), 1u) << "the skipped line is told once";

  // A file of UTC times speaks the chart's time in its message.
  ASSERT_TRUE(chart.setZone("EST-5EDT,M3.2.0,M11.1.0", nullptr));
  std::ofstream(path) << kHeader << "2026-03-02T14:31:00Z,1,1,1,1,1\n2026-03-02T14:30:00Z,1,1,1,1,1\n";
  follower.lookAgain(told);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_NE(told[1].find("a bar of 2026-03-02 09:30:00 after the newest, of 09:31:00"), std::string::npos) << told[1];
}

TEST_F(FollowedFile, IsToldOnceWhenBadAndReadAgainWhenMended) {
  append(path, "2026-03-02 09:31:00,10,9,11,10,5\n");  // the high below the low
  EXPECT_TRUE(follower.lookAgain(told).empty());
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("bars.csv:3: the high is below the low"), std::string::npos) << told[0];
  EXPECT_EQ(follower.warning(), told[0]);
  EXPECT_TRUE(follower.lookAgain(told).empty());
  EXPECT_EQ(told.size(), 1u) << "told once";

  std::ofstream(path) << kHeader << "2026-03-02 09:30:00,10,11,9,10.5,5\n2026-03-02 09:31:00,10,11,9,10.75,5\n";
  EXPECT_EQ(closesOf(follower.lookAgain(told)), (std::vector<float>{10.5f, 10.75f}));
  EXPECT_EQ(follower.warning(), "");

  std::filesystem::remove(path);
  EXPECT_TRUE(follower.lookAgain(told).empty());
  ASSERT_EQ(told.size(), 2u);
  EXPECT_NE(told[1].find("cannot be read"), std::string::npos) << told[1];
}

}  // namespace
