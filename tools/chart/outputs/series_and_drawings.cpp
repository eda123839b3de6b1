#include "tools/chart/outputs/series_and_drawings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "host/study_instance.h"
#include "tools/support/date_time_text.h"
#include "tools/support/json_text.h"

namespace chart_tool::outputs {

using namespace chart_host;

namespace {

// The shortest text that reads back as the same float.
std::string numberText(float value) {
  if (!std::isfinite(value)) return value != value ? "nan" : (value > 0 ? "inf" : "-inf");
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

const char* styleName(int16_t style) {
  switch (style) {
    case 0: return "solid";
    case 1: return "dash";
    case 2: return "dot";
    default: return "unknown";
  }
}

}  // namespace

std::string colorText(uint32_t color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                (color >> 16) & 0xFF);
  return text;
}

void writeOutputSeriesCsv(StudyInstance& instance, std::ostream& out, std::optional<HostDateTime> from) {
  std::vector<int32_t> series;
  for (int32_t i = 0; i < StudyInstance::kSubgraphSlots; ++i)
    if (instance.subgraph(i).name.text != nullptr) series.push_back(i);
  out << "DateTime";
  for (int32_t i : series) out << ',' << csvField(hostStringText(instance.subgraph(i).name));
  out << '\n';
  const std::vector<Bar>& bars = instance.chart().bars();
  std::size_t first = 0;
  if (from) {
    const auto after = std::upper_bound(bars.begin(), bars.end(), *from,
                                        [](HostDateTime time, const Bar& bar) { return time < bar.dateTime; });
    first = after == bars.begin() ? 0 : static_cast<std::size_t>(after - bars.begin()) - 1;
  }
  for (std::size_t bar = first; bar < bars.size(); ++bar) {
    out << support::formatDateTime(bars[bar].dateTime);
    for (int32_t i : series) {
      const HostSubgraph& subgraph = instance.subgraph(i);
      const float value = bar < static_cast<std::size_t>(subgraph.valueCount) ? subgraph.values[bar] : 0.0f;
      out << ',' << numberText(value);
    }
    out << '\n';
  }
}

void writeDrawingsJson(StudyInstance& instance, std::ostream& out) {
  const Chart& chart = instance.chart();
  out << "[";
  bool first = true;
  for (const ChartDrawing& drawing : chart.drawings().all()) {
    const HostDrawingRecord& record = drawing.record;
    out << (first ? "\n" : ",\n") << "  {\"lineNumber\": " << record.lineNumber
        << ", \"kind\": " << record.drawingKind << ", \"price\": " << support::jsonFloat(record.price)
        << ", \"color\": \"" << colorText(record.color) << "\", \"width\": " << record.lineWidth
        << ", \"style\": \"" << styleName(record.lineStyle) << "\", \"label\": " << support::jsonString(drawing.label)
        << ", \"fontSize\": " << record.fontSize << ", \"alignment\": " << record.labelAlignment
        << ", \"transparentLabelBackground\": " << (record.transparentLabelBackground != 0 ? "true" : "false")
        << ", \"row\": " << chart.priceToY(record.price) << "}";
    first = false;
  }
  out << (first ? "]\n" : "\n]\n");
}

}  // namespace chart_tool::outputs
