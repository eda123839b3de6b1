// A settings file for a chart's study: one JSON object whose members name
// inputs (by name or index) and give their values as strings, numbers or
// true/false, e.g. {"Ticker": "SPX", "Interval": 10, "Show Zero Gamma": false}.
// Numbers keep the digits as written, so "1.10" reaches the input as typed.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace chart_tool {

using InputSetting = std::pair<std::string, std::string>;  // input, value text

// The settings in file order, or false with "PATH: reason" in `error`.
bool readSettingsFile(const std::string& path, std::vector<InputSetting>& settings,
                      std::string& error);
bool readSettingsText(const std::string& text, std::vector<InputSetting>& settings,
                      std::string& error);

}  // namespace chart_tool
