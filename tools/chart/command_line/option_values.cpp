#include "tools/chart/command_line/option_values.h"

#include "tools/support/number_text.h"

namespace chart_tool::command_line {

std::optional<PictureSize> readPictureSize(const std::string& text) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const std::optional<int64_t> width = support::readWholeNumber(text.substr(0, x), 200, 8000);
  const std::optional<int64_t> height = support::readWholeNumber(text.substr(x + 1), 150, 8000);
  if (!width || !height) return std::nullopt;
  return PictureSize{static_cast<int32_t>(*width), static_cast<int32_t>(*height)};
}

bool isServiceAddress(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  return colon != std::string::npos && colon != 0 && support::readWholeNumber(text.substr(colon + 1), 1, 65535);
}

std::optional<InputSetting> readInputSetting(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return std::nullopt;
  return InputSetting{text.substr(0, equals), text.substr(equals + 1)};
}

}  // namespace chart_tool::command_line
