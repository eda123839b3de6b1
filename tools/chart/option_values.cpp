#include "tools/chart/option_values.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace chart_tool {

std::optional<int64_t> readWholeNumber(const std::string& text, int64_t low, int64_t high) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || parsed < low || parsed > high) return std::nullopt;
  return parsed;
}

std::optional<double> readDecimalNumber(const std::string& text, double low, double high) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(parsed) || parsed < low || parsed > high) return std::nullopt;
  return parsed;
}

std::optional<PictureSize> readPictureSize(const std::string& text) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const std::optional<int64_t> width = readWholeNumber(text.substr(0, x), 200, 8000);
  const std::optional<int64_t> height = readWholeNumber(text.substr(x + 1), 150, 8000);
  if (!width || !height) return std::nullopt;
  return PictureSize{static_cast<int32_t>(*width), static_cast<int32_t>(*height)};
}

bool isServiceAddress(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  return colon != std::string::npos && colon != 0 && readWholeNumber(text.substr(colon + 1), 1, 65535);
}

std::optional<InputSetting> readInputSetting(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return std::nullopt;
  return InputSetting{text.substr(0, equals), text.substr(equals + 1)};
}

}  // namespace chart_tool
