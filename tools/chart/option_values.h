// The values the chart program's options take, read strictly from the text a
// person typed: a value out of range, with trailing characters or empty reads
// as nothing, so the option can say what it takes instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/chart/settings_file.h"

namespace chart_tool {

// A whole number from `low` to `high`.
std::optional<int64_t> readWholeNumber(const std::string& text, int64_t low, int64_t high);

// A finite decimal number from `low` to `high`.
std::optional<double> readDecimalNumber(const std::string& text, double low, double high);

struct PictureSize {
  int32_t width_px;
  int32_t height_px;
};
// "WIDTHxHEIGHT", from 200x150 to 8000x8000.
std::optional<PictureSize> readPictureSize(const std::string& text);

// "ADDRESS:PORT" with a port from 1 to 65535 and an address before it.
bool isServiceAddress(const std::string& text);

// "NAME=VALUE" with a name before the first '='; the value may be empty.
std::optional<InputSetting> readInputSetting(const std::string& text);

}  // namespace chart_tool
