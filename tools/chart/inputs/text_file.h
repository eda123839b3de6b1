// Small text helpers shared by the chart host's readers of files a person
// wrote: reading a whole file, and quoting a value in a message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/support/input_file.h"

namespace chart_tool::inputs {

// Like every reader of text a person wrote, these answer what they read, or
// nothing with the reason in `error`.

// The file's text, or nothing with "PATH: cannot be read (reason)" when it
// is missing, not a regular file or over `bound_bytes` (input_file.h). A
// UTF-8 byte-order mark at its start, which some editors and spreadsheets
// write, is left out: the readers see the text as it was typed.
std::optional<std::string> readTextFile(const std::string& path, uint64_t bound_bytes, std::string& error);

// Reads the file and hands its text to `readText`; a reason that reader gives
// is prefixed with the path and `separator` ("PATH: reason", "PATH:LINE: ...").
template <typename ReadText>
auto readFileWith(const std::string& path, uint64_t bound_bytes, const char* separator, std::string& error,
                  ReadText readText) -> decltype(readText(std::string())) {
  const std::optional<std::string> content = readTextFile(path, bound_bytes, error);
  if (!content) return std::nullopt;
  auto read = readText(*content);
  if (!read) error = path + separator + error;
  return read;
}

// The text in single quotes, as messages show what a person typed. Called by
// its full name: a std::string argument would also find std::quoted.
std::string quoted(std::string_view text);

}  // namespace chart_tool::inputs
