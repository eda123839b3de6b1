// --right-space: the empty space right of the newest bar, a whole percentage
// of the plot's width inside its range, refused in one line otherwise.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/chart/command_line/chart_options.h"

using namespace chart_tool;
using namespace chart_tool::command_line;

namespace {

TEST(RightSpaceOption, TakesAWholePercentageInsideItsRange) {
  const struct {
    std::vector<std::string> arguments;
    int32_t percent;  // -1: refused
  } cases[] = {
      {{}, chart_host::kDefaultRightSpace_percent},
      {{"--right-space", "0"}, 0},
      {{"--right-space", "30"}, 30},
      {{"--right-space=90"}, 90},
      {{"--right-space", "91"}, -1},
      {{"--right-space", "-1"}, -1},
      {{"--right-space", "12.5"}, -1},
      {{"--right-space", "half"}, -1},
      {{"--right-space", ""}, -1},
  };
  for (const auto& c : cases) {
    ChartOptions options;
    std::string error;
    const bool accepted = parseChartOptions(c.arguments, options, error);
    EXPECT_EQ(accepted, c.percent >= 0) << error;
    if (accepted) {
      EXPECT_EQ(options.rightSpace_percent, c.percent);
    } else {
      const std::string value = c.arguments.back();
      EXPECT_EQ(error, "--right-space takes a percentage of the plot's width from 0 to 90, not '" + value + "'");
    }
  }
}

}  // namespace
