// A settings file for a chart's study: one JSON object whose members name
// inputs (by name or index) and give their values as strings, numbers or
// true/false, e.g. {"Ticker": "SPX", "Interval": 10, "Show Zero Gamma": false}.
// Numbers keep the digits as written, so "1.10" reaches the input as typed.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace chart_tool::inputs {

using InputSetting = std::pair<std::string, std::string>;  // input, value text

using InputSettings = std::vector<InputSetting>;

// The settings in file order, or nothing with "PATH: reason" in `error`.
std::optional<InputSettings> readSettingsFile(const std::string& path, std::string& error);
std::optional<InputSettings> readSettingsText(const std::string& text, std::string& error);

}  // namespace chart_tool::inputs
