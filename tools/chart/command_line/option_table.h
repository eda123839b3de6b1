// The chart program's option table: each option once, with the names the
// parser takes, what its help says and how its value is read into the
// options. The parser (chart_options.cpp) and the help (chart_help.cpp) are
// both made from it, so they cannot tell different stories.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/chart/command_line/chart_options.h"
#include "tools/support/option_help.h"

namespace chart_tool::command_line {

struct ChartOption {
  support::OptionHelp help;  // names, value placeholder (empty: a flag), group, help text
  const char* takes;         // what the value must be, for the line that refuses one; empty for a flag
  // Reads a value into the options; false when it is not one the option
  // takes. A flag's reader is handed the empty text.
  std::function<bool(ChartOptions&, const std::string&)> read;

  bool isFlag() const { return *help.value == '\0'; }
};

// Every option, in the order of the help.
const std::vector<ChartOption>& chartOptionTable();

// The help of the program, built from the table (see chart_help.cpp).
support::ProgramHelp chartProgramHelp();

}  // namespace chart_tool::command_line
