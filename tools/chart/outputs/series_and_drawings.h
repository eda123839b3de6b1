// What a chart run leaves behind for a person or a test to read: the study's
// output series bar by bar as CSV, and the chart drawings as JSON.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace chart_host { class StudyInstance; }

namespace chart_tool {

using chart_host::StudyInstance;

}  // namespace chart_tool

namespace chart_tool::outputs {

// A header "DateTime" plus one column per declared output series (by name),
// then one row per bar: its time and the series' values; with `from`, the
// rows from the bar that time falls in on.
void writeOutputSeriesCsv(StudyInstance& instance, std::ostream& out, std::optional<HostDateTime> from = std::nullopt);

// A JSON array of the chart's drawings in line-number order: line number,
// kind, price, colour (#RRGGBB), width, style, label, font size, alignment,
// transparent label background, and the pixel row of its price on the chart.
void writeDrawingsJson(StudyInstance& instance, std::ostream& out);

// "#RRGGBB" of a host colour (0x00BBGGRR).
std::string colorText(uint32_t color);

}  // namespace chart_tool::outputs
