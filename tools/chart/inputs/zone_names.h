// The names a person types for the zones of the study's time-zone table: the
// zone database's name and the city, "America/Chicago" and "Chicago", for the
// chart's zone (--zone) and for the "Time Zone" input. The table's zone texts
// stay in their one home, the study's table behind its door; here are only
// their names.
// Names match in any case, with blanks and underscores alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace chart_tool::inputs {

// The zone database's name of a table entry ("America/Chicago"); empty for
// the entries that leave the zone to the host and for indices outside the
// table.
std::string_view timeZoneDatabaseName(int32_t index);

// The table index of the zone a name names, or nothing.
std::optional<int32_t> timeZoneIndexOfName(std::string_view name);

// Whether what was typed was meant as a zone's name: every zone text and
// index has a digit, no name has one.
bool meantAsZoneName(std::string_view typed);

// "no time zone is named 'NAME'; did you mean 'CITY' or 'AREA/CITY'?", with
// the names of the zones closest to what was typed.
std::string unknownTimeZoneMessage(std::string_view name);

// The chart's zone text for what was typed after --zone: the table's text of
// a named zone, or the text itself when it is a zone text. Otherwise nothing,
// with why in `error`: a misspelt name with the closest names, a text with
// digits with what is wrong with it as a zone text.
std::optional<std::string> chartZoneTextOf(std::string_view typed, std::string& error);

// A zone text of the module's table in the words a trader reads: "New York
// time" for its New York entry, "UTC"; "chart time" for the empty text, which
// leaves the zone to the chart, and for a text the table does not hold.
std::string zoneTimeName(const char* zoneText);

}  // namespace chart_tool::inputs
