// A program's --help, generated from its option table: each option declares
// its names, value placeholder, group and help text once, beside how it is
// read, and the text a person reads is laid out from that. Plain data and a
// pure function; safe to use from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace support {

// The widest line a help may print, so it reads on an 80-column terminal.
inline constexpr std::size_t kHelpWidth = 79;

// One option as its help shows it. All texts are static and never null.
struct OptionHelp {
  const char* names;  // as the parser takes them: "--port" or "-h,--help"
  const char* value;  // the placeholder of its value ("FILE"); empty for a flag
  const char* group;  // the name of the group it is listed under
  const char* help;   // what it does; wrapped to the width, '\n' starts a new paragraph
};

// A heading the options are listed under, in the order of the help.
struct OptionGroup {
  const char* name;   // "Clock"
  const char* aside;  // said after the name in brackets ("times are ..."); may be empty
  const char* note;   // a paragraph after the group's options; may be empty
};

struct ProgramHelp {
  const char* usage;    // "Usage: PROGRAM [OPTIONS]"
  const char* opening;  // what the program is for, laid out as it stands
  std::vector<OptionGroup> groups;
  std::vector<OptionHelp> options;  // listed group by group, in this order
  const char* closing;  // what follows the options (exit statuses, ...), as it stands
};

// The help text: the usage line and opening, each group's heading, options
// and note, then the closing text. An option of an undeclared group is not
// shown (the option tables' test keeps every option in a group).
std::string formatProgramHelp(const ProgramHelp& help);

// An option's names as the help writes them: "-h, --help".
std::string shownNames(const OptionHelp& option);

}  // namespace support
