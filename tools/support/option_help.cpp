// Lays out a program's help from its option table: names and placeholder in
// a column of their own, the help beside them wrapped to the width.
#include "tools/support/option_help.h"

#include <cstring>
#include <sstream>

namespace support {

namespace {

constexpr std::size_t kOptionIndent = 2;
constexpr std::size_t kHelpColumn = 25;  // where every option's help starts

// Appends `text`, wrapped at word breaks to kHelpWidth, every line starting
// with `indent` spaces but the first, which starts at column `at` (the text
// already on that line). A word wider than the room stands alone on its line.
void appendWrapped(std::string& out, const std::string& text, std::size_t indent, std::size_t at) {
  std::istringstream words(text);
  std::string word;
  std::size_t column = at;
  bool lineEmpty = true;
  while (words >> word) {
    if (!lineEmpty && column + 1 + word.size() > kHelpWidth) {
      out += '\n';
      out.append(indent, ' ');
      column = indent;
      lineEmpty = true;
    }
    if (!lineEmpty) {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
    lineEmpty = false;
  }
  out += '\n';
}

// Each paragraph of `text` (separated by '\n') wrapped at `indent`, the
// first starting at column `at`.
void appendParagraphs(std::string& out, const std::string& text, std::size_t indent, std::size_t at) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    appendWrapped(out, text.substr(start, end - start), indent, at);
    if (end == std::string::npos) return;
    out.append(indent, ' ');
    at = indent;
    start = end + 1;
  }
}

void appendOption(std::string& out, const OptionHelp& option) {
  std::string label = shownNames(option);
  if (*option.value != '\0') label += std::string(" ") + option.value;
  out.append(kOptionIndent, ' ');
  out += label;
  std::size_t column = kOptionIndent + label.size();
  // A label too wide for its column takes a line of its own.
  if (column + 2 > kHelpColumn) {
    out += '\n';
    column = 0;
  }
  out.append(kHelpColumn - column, ' ');
  appendParagraphs(out, option.help, kHelpColumn, kHelpColumn);
}

void appendGroup(std::string& out, const OptionGroup& group, const std::vector<OptionHelp>& options) {
  std::string heading = group.name;
  if (*group.aside != '\0') heading += std::string(" (") + group.aside + ")";
  out += '\n';
  appendWrapped(out, heading + ":", 0, 0);
  for (const OptionHelp& option : options) {
    if (std::strcmp(option.group, group.name) == 0) appendOption(out, option);
  }
  if (*group.note == '\0') return;
  out.append(kOptionIndent, ' ');
  appendParagraphs(out, group.note, kOptionIndent, kOptionIndent);
}

}  // namespace

std::string shownNames(const OptionHelp& option) {
  std::string shown;
  for (const char* name = option.names; *name != '\0'; ++name) {
    shown += *name;
    if (*name == ',') shown += ' ';
  }
  return shown;
}

std::string formatProgramHelp(const ProgramHelp& help) {
  std::string out = std::string(help.usage) + "\n\n" + help.opening;
  for (const OptionGroup& group : help.groups) appendGroup(out, group, help.options);
  if (*help.closing != '\0') out += std::string("\n") + help.closing;
  return out;
}

}  // namespace support
