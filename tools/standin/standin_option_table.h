// The stand-in's option table: each option once, with the names the parser
// takes, what its help says and how its value is taken into the options.
// The parser (standin_options.cpp) and the help (standin_help.cpp) are both
// made from it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/standin/standin_options.h"
#include "tools/support/option_help.h"
#include "tools/support/result.h"

namespace standin {

struct StandinOption {
  support::OptionHelp help;  // names, value placeholder (empty: a flag), group, help text
  // Takes a value into the options, or fails with why, in words that follow
  // the option's name ("'x' is not a port number (0..65535)"). A flag's
  // setter is handed the empty text.
  std::function<support::Status(StandinOptions&, const std::string&)> set;

  bool isFlag() const { return *help.value == '\0'; }
};

// Every option, in the order of the help.
const std::vector<StandinOption>& standinOptionTable();

// The help of the program, built from the table (see standin_help.cpp).
support::ProgramHelp standinProgramHelp();

}  // namespace standin
