#include "tools/chart/inputs/text_file.h"

#include <utility>

namespace chart_tool::inputs {

std::optional<std::string> readTextFile(const std::string& path, uint64_t bound_bytes, std::string& error) {
  support::Result<std::string> read = support::readInputFile(path, bound_bytes);
  if (!read) {
    error = read.message();
    return std::nullopt;
  }
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::string& content = read.value();
  if (content.starts_with(kByteOrderMark)) content.erase(0, kByteOrderMark.size());
  return std::move(content);
}

std::string quoted(std::string_view text) {
  std::string result(1, '\'');
  result.append(text);
  result.push_back('\'');
  return result;
}

}  // namespace chart_tool::inputs
