#include "tools/chart/text_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace chart_tool {

bool readTextFile(const std::string& path, std::string& content, std::string& error) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    error = path + ": cannot be read (a folder, not a file)";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be read (" + std::strerror(errno) + ")";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    error = path + ": cannot be read";
    return false;
  }
  content = text.str();
  return true;
}

bool readFileWith(const std::string& path, const char* separator, std::string& error,
                  const std::function<bool(const std::string& text)>& readText) {
  std::string content;
  if (!readTextFile(path, content, error)) return false;
  if (readText(content)) return true;
  error = path + separator + error;
  return false;
}

std::string quoted(std::string_view text) {
  std::string result(1, '\'');
  result.append(text);
  result.push_back('\'');
  return result;
}

}  // namespace chart_tool
