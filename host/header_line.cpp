#include "host/header_line.h"

#include <algorithm>

namespace chart_host {

bool fitsOnOneLine(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7f;
  });
}

bool isHeaderName(std::string_view name) {
  return !name.empty() && fitsOnOneLine(name) && name.find_first_of(":; \t") == std::string_view::npos;
}

bool headersFitTheirLines(const std::vector<std::pair<std::string, std::string>>& headers) {
  return std::all_of(headers.begin(), headers.end(), [](const auto& header) {
    return isHeaderName(header.first) && fitsOnOneLine(header.second);
  });
}

}  // namespace chart_host
