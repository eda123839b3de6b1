#include "tools/chart/inputs/settings_file.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include "tools/chart/inputs/text_file.h"

namespace chart_tool::inputs {

std::optional<InputSettings> readSettingsText(const std::string& text, std::string& error) {
  InputSettings settings;
  rapidjson::Document document;
  document.Parse<rapidjson::kParseNumbersAsStringsFlag>(
      text.c_str(), text.size());
  if (document.HasParseError()) {
    error = std::string("not JSON: ") + rapidjson::GetParseError_En(document.GetParseError()) +
            " at byte " + std::to_string(document.GetErrorOffset());
    return std::nullopt;
  }
  if (!document.IsObject()) {
    error = "expected one JSON object of input names and values";
    return std::nullopt;
  }
  for (const auto& member : document.GetObject()) {
    const std::string name(member.name.GetString(), member.name.GetStringLength());
    const rapidjson::Value& value = member.value;
    if (value.IsString()) {
      settings.emplace_back(name, std::string(value.GetString(), value.GetStringLength()));
    } else if (value.IsBool()) {
      settings.emplace_back(name, value.GetBool() ? "yes" : "no");
    } else {
      error = "the value of '" + name + "' must be a string, a number or true/false";
      return std::nullopt;
    }
  }
  return settings;
}

std::optional<InputSettings> readSettingsFile(const std::string& path, std::string& error) {
  return readFileWith(path, support::kSettingsFileBound_bytes, ": ", error,
                      [&](const std::string& text) { return readSettingsText(text, error); });
}

}  // namespace chart_tool::inputs
