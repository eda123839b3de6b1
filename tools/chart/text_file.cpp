#include "tools/chart/text_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace chart_tool {

std::optional<std::string> readTextFile(const std::string& path, std::string& error) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    error = path + ": cannot be read (a folder, not a file)";
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be read (" + std::strerror(errno) + ")";
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    error = path + ": cannot be read";
    return std::nullopt;
  }
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::string content = text.str();
  if (content.starts_with(kByteOrderMark)) content.erase(0, kByteOrderMark.size());
  return content;
}

std::string quoted(std::string_view text) {
  std::string result(1, '\'');
  result.append(text);
  result.push_back('\'');
  return result;
}

}  // namespace chart_tool
