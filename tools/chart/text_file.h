// Small text helpers shared by the chart host's readers of files a person
// wrote: reading a whole file, and quoting a value in a message.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace chart_tool {

// The file's bytes, or false with "PATH: cannot be read (reason)".
bool readTextFile(const std::string& path, std::string& content, std::string& error);

// Reads the file and hands its text to `readText`; a reason that reader gives
// is prefixed with the path and `separator` ("PATH: reason", "PATH:LINE: ...").
bool readFileWith(const std::string& path, const char* separator, std::string& error,
                  const std::function<bool(const std::string& text)>& readText);

// The text in single quotes, as messages show what a person typed.
std::string quoted(std::string_view text);

}  // namespace chart_tool
