// Both programs' option tables held to what a reader of --help relies on:
// each name means one option, every option is listed under a declared group
// with a help text, every line fits the width, and the program prints the
// help as it is generated.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "support/standin_process.h"
#include "tools/chart/command_line/option_table.h"
#include "tools/standin/standin_option_table.h"
#include "tools/support/option_help.h"

namespace {

struct ProgramTable {
  const char* program;  // the built program, run with --help
  support::ProgramHelp help;
  std::string printed;  // what the program's own help function gives
};

TEST(OptionTables, NameEachOptionOnceUnderADeclaredGroupAndPrintTheirHelpWithinTheWidth) {
  const ProgramTable tables[] = {
      {TARVIO_CHART_PATH, chart_tool::command_line::chartProgramHelp(), chart_tool::command_line::chartOptionsHelp()},
      {TARVIO_STANDIN_PATH, standin::standinProgramHelp(), standin::standinHelp()},
  };
  for (const ProgramTable& table : tables) {
    SCOPED_TRACE(table.program);
    std::map<std::string, int> optionsPerGroup;
    for (const support::OptionGroup& group : table.help.groups) optionsPerGroup[group.name] = 0;
    std::set<std::string> names;
    for (const support::OptionHelp& option : table.help.options) {
      std::istringstream each(option.names);
      for (std::string name; std::getline(each, name, ',');)
        EXPECT_TRUE(names.insert(name).second) << name << " names two options";
      EXPECT_NE(std::strlen(option.help), 0u) << option.names;
      const auto group = optionsPerGroup.find(option.group);
      EXPECT_NE(group, optionsPerGroup.end()) << option.names << " is in an undeclared group " << option.group;
      if (group != optionsPerGroup.end()) ++group->second;
    }
    for (const auto& [group, count] : optionsPerGroup) EXPECT_GT(count, 0) << group << " lists no option";

    const std::string text = support::formatProgramHelp(table.help);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
      EXPECT_LE(line.size(), support::kHelpWidth) << "too wide: " << line;
    EXPECT_EQ(table.printed, text);
    const standin_test::ProcessResult run = standin_test::runProgram(table.program, {"--help"}, 60);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.standard_output, text);
  }
}

}  // namespace
