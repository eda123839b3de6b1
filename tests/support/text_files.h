// Reading back what a program under test wrote: a file's whole text, and its
// lines (without their line ends), all or those holding a part.
#pragma once

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace test_text {

// The file's bytes as they are; empty when it cannot be read.
inline std::string readText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

inline std::vector<std::string> linesWith(std::string_view text, std::string_view part) {
  std::vector<std::string> found;
  for (std::string& line : linesOf(text))
    if (line.find(part) != std::string::npos) found.push_back(std::move(line));
  return found;
}

}  // namespace test_text
