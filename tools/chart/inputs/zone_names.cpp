#include "tools/chart/inputs/zone_names.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "host/zone_text.h"
#include "tools/chart/inputs/input_assignment.h"
#include "tools/chart/study_door/study_door.h"
#include "tools/chart/inputs/text_file.h"

namespace chart_tool::inputs {

namespace {

struct ZoneNames {
  const char* area;  // the zone database's name, empty for the host's choice
  const char* city;  // empty where the zone is no city's
};

// By the module's table index: each entry's zone text is that zone's rules.
constexpr ZoneNames kZoneNames[] = {
    {"", ""},  // the host's choice
    {"Pacific/Honolulu", "Honolulu"},
    {"America/Anchorage", "Anchorage"},
    {"America/Los_Angeles", "Los Angeles"},
    {"America/Phoenix", "Phoenix"},
    {"America/Denver", "Denver"},
    {"America/Chicago", "Chicago"},
    {"America/New_York", "New York"},
    {"America/Halifax", "Halifax"},
    {"Etc/UTC", "UTC"},
    {"Europe/London", "London"},
    {"Europe/Berlin", "Berlin"},
    {"Africa/Johannesburg", "Johannesburg"},
    {"Europe/Athens", "Athens"},
    {"Asia/Riyadh", "Riyadh"},
    {"Europe/Moscow", "Moscow"},
    {"Europe/Samara", "Samara"},
    {"Asia/Dubai", "Dubai"},
    {"Asia/Karachi", "Karachi"},
    {"Asia/Kolkata", "Kolkata"},
    {"Asia/Dhaka", "Dhaka"},
    {"Asia/Jakarta", "Jakarta"},
    {"Asia/Hong_Kong", "Hong Kong"},
    {"Asia/Tokyo", "Tokyo"},
    {"Australia/Brisbane", "Brisbane"},
    {"Australia/Sydney", "Sydney"},
    {"Etc/GMT-12", ""},  // the database's signs are west positive
    {"Pacific/Auckland", "Auckland"},
    {"", ""},  // the host's choice
};
static_assert(std::size(kZoneNames) == study_door::kTimeZoneCount, "one row of names per table entry");

// Lower case, underscores as blanks, runs of blanks as one, none at the ends.
std::string normalized(std::string_view name) {
  std::string result;
  for (char c : name) {
    const bool blank = c == '_' || std::isspace(static_cast<unsigned char>(c));
    if (blank) {
      if (!result.empty() && result.back() != ' ') result.push_back(' ');
    } else {
      result.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
  }
  if (!result.empty() && result.back() == ' ') result.pop_back();
  return result;
}

// The spellings that name an entry: its city, its database name and the
// database name's last part ("New_York" for America/New_York).
std::vector<std::string> spellingsOf(const ZoneNames& names) {
  std::vector<std::string> spellings;
  for (std::string_view name : {std::string_view(names.city), std::string_view(names.area)})
    if (!name.empty()) spellings.push_back(normalized(name));
  const std::string_view area = names.area;
  if (area.find('/') != std::string_view::npos) spellings.push_back(normalized(area.substr(area.rfind('/') + 1)));
  return spellings;
}

}  // namespace

std::string_view timeZoneDatabaseName(int32_t index) {
  return index >= 0 && index < study_door::kTimeZoneCount ? kZoneNames[index].area : "";
}

bool meantAsZoneName(std::string_view typed) {
  return !normalized(typed).empty() &&
         std::none_of(typed.begin(), typed.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::optional<int32_t> timeZoneIndexOfName(std::string_view name) {
  const std::string wanted = normalized(name);
  if (wanted.empty()) return std::nullopt;
  for (int32_t i = 0; i < study_door::kTimeZoneCount; ++i) {
    const std::vector<std::string> spellings = spellingsOf(kZoneNames[i]);
    if (std::find(spellings.begin(), spellings.end(), wanted) != spellings.end()) return i;
  }
  return std::nullopt;
}

std::string unknownTimeZoneMessage(std::string_view name) {
  std::vector<int32_t> entries;
  std::vector<std::vector<std::string>> candidates;
  for (int32_t i = 0; i < study_door::kTimeZoneCount; ++i) {
    if (*kZoneNames[i].area == '\0') continue;
    entries.push_back(i);
    candidates.push_back(spellingsOf(kZoneNames[i]));
  }
  // The zones as close as the closest one, at most two, each by its names.
  const std::vector<CloseName> ranked = closestNames(normalized(name), candidates);
  std::vector<std::string> suggestions;
  for (std::size_t i = 0; i < ranked.size() && i < 2 && ranked[i].edits == ranked.front().edits; ++i) {
    const ZoneNames& names = kZoneNames[entries[ranked[i].candidate]];
    for (const char* shown : {names.city, names.area})
      if (*shown != '\0') suggestions.push_back(inputs::quoted(shown));
  }
  std::string message = "no time zone is named " + inputs::quoted(name);
  for (std::size_t i = 0; i < suggestions.size(); ++i)
    message.append(i == 0 ? "; did you mean " : i + 1 == suggestions.size() ? " or " : ", ").append(suggestions[i]);
  return suggestions.empty() ? message : message + "?";
}

std::optional<std::string> chartZoneTextOf(std::string_view typed, std::string& error) {
  if (const std::optional<int32_t> index = timeZoneIndexOfName(typed)) return study_door::zoneTextAt(*index);
  if (meantAsZoneName(typed)) {
    error = unknownTimeZoneMessage(typed);
    return std::nullopt;
  }
  if (!chart_host::ZoneText::parse(typed, &error)) return std::nullopt;
  return std::string(typed);
}

std::string zoneTimeName(const char* zoneText) {
  if (zoneText == nullptr || *zoneText == '\0') return "chart time";
  for (int32_t i = 0; i < study_door::kTimeZoneCount; ++i) {
    if (std::string_view(study_door::zoneTextAt(i)) != zoneText) continue;
    const std::string_view city = kZoneNames[i].city;
    if (city == "UTC") return "UTC";
    return city.empty() ? std::string(zoneText) : std::string(city) + " time";
  }
  return "chart time";
}

}  // namespace chart_tool::inputs
