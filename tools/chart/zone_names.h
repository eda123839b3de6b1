// The time zones of the study's "Time Zone" input in the words a trader
// reads ("New York time"), one for each entry of the module's zone table.
#pragma once

namespace chart_tool {

// The name of a zone text of the module's table, e.g. "New York time" for
// its New York entry; "chart time" for the empty text, which leaves the zone
// to the chart, and for a text the table does not hold.
const char* zoneTimeName(const char* zoneText);

}  // namespace chart_tool
