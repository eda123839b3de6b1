// The values the chart program's options take beyond plain numbers (which
// tools/support/number_text.h reads), read strictly from the text a person
// typed: a value out of range, with trailing characters or empty reads as
// nothing, so the option can say what it takes instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/chart/inputs/settings_file.h"

namespace chart_tool::command_line {

using namespace chart_tool::inputs;

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

}  // namespace chart_tool::command_line
