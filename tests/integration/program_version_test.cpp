// Both programs answer --version with one line, "PROGRAM VERSION", and only
// that, even beside options that would start a run. The version is the
// VERSION file's numbers with the build's commit stamp, in the one format
// the packages' names and the Windows resources are made from.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/standin_process.h"
#include "support/text_files.h"

namespace {

TEST(ProgramVersion, BothProgramsPrintTheStampedVersionOfTheVersionFile) {
  std::string numbers = test_text::readText(std::string(TARVIO_SOURCE_DIR) + "/VERSION");
  numbers.erase(numbers.find_last_not_of(" \r\n") + 1);
  // MAJOR.MINOR.PATCH, "+", the commit's 12 hex digits and ".dirty" for a
  // tree with changes; "unknown" outside a git checkout.
  const std::regex line(R"((tarvio-chart|tarvio-standin) (\d+\.\d+\.\d+)\+(?:[0-9a-f]{12}(?:\.dirty)?|unknown)\n)");
  struct Case {
    const char* program;
    const char* name;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {TARVIO_CHART_PATH, "tarvio-chart", {"--version"}},
      {TARVIO_STANDIN_PATH, "tarvio-standin", {"--version"}},
      {TARVIO_CHART_PATH, "tarvio-chart", {"--real-clock", "3600", "--version"}},
      {TARVIO_STANDIN_PATH, "tarvio-standin", {"--port", "0", "--version"}},
  };
  std::set<std::string> versions;
  for (const Case& each : cases) {
    SCOPED_TRACE(std::string(each.name) + " " + each.arguments.front());
    const standin_test::ProcessResult run = standin_test::runProgram(each.program, each.arguments, 30);
    EXPECT_EQ(run.exit_status, 0) << run.standard_error;
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(run.standard_output, parts, line)) << run.standard_output;
    EXPECT_EQ(parts[1].str(), each.name);
    EXPECT_EQ(parts[2].str(), numbers);
    versions.insert(run.standard_output.substr(parts[1].length()));
  }
  EXPECT_EQ(versions.size(), 1u) << "the two programs were stamped differently";
}

}  // namespace
