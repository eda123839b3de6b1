#include "tools/chart/inputs/bar_file.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <span>

#include "tools/chart/inputs/text_file.h"
#include "tools/support/bar_csv.h"
#include "tools/support/date_time_text.h"

namespace chart_tool::inputs {

using namespace chart_host;

namespace {

enum class Layout { Export, Plain };

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(trimmed(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The charting platform's intraday export; the plain layout's columns are the
// bar CSV format's own.
constexpr std::array<std::string_view, 7> kExportColumns = {"Date", "Time", "Open", "High", "Low", "Last", "Volume"};

bool headerMatches(const std::vector<std::string_view>& fields, std::span<const std::string_view> names) {
  if (fields.size() < names.size()) return false;
  std::size_t i = 0;
  for (std::string_view name : names)
    if (!equalsIgnoringCase(fields[i++], name)) return false;
  return true;
}

bool readNumber(std::string_view text, float& value) {
  const std::string copy(text);
  if (copy.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || errno == ERANGE || !std::isfinite(parsed)) return false;
  value = static_cast<float>(parsed);
  return std::isfinite(value);
}

// Reads one data line into `bar`; the reason when it cannot.
std::string readBarLine(Layout layout, const std::vector<std::string_view>& fields, Bar& bar, bool& utc) {
  const std::size_t wanted = layout == Layout::Export ? 7 : 6;
  if (fields.size() < wanted)
    return "expected " + std::to_string(wanted) + " fields, found " + std::to_string(fields.size());
  std::optional<HostDateTime> when;
  std::size_t first = 0;
  if (layout == Layout::Export) {
    const std::optional<HostDateTime> day = support::readDate(fields[0]);
    const std::optional<int64_t> time = support::readTimeOfDay(fields[1]);
    if (!day) return inputs::quoted(fields[0]) + " is not a date (YYYY/MM/DD)";
    if (!time) return inputs::quoted(fields[1]) + " is not a time (HH:MM:SS)";
    when = *day + *time;
    first = 2;
  } else {
    std::string_view text = fields[0];
    utc = !text.empty() && text.back() == 'Z';
    if (utc) text.remove_suffix(1);
    when = support::readDateTime(text);
    if (!when) return inputs::quoted(fields[0]) + " is not a date and time (YYYY-MM-DD HH:MM:SS)";
    first = 1;
  }
  static constexpr const char* kNames[] = {"open", "high", "low", "close", "volume"};
  float values[5] = {};
  for (int i = 0; i < 5; ++i)
    if (!readNumber(fields[first + i], values[i]))
      return std::string("the ") + kNames[i] + " '" + std::string(fields[first + i]) + "' is not a number";
  bar = Bar{*when, values[0], values[1], values[2], values[3], values[4]};
  if (bar.high < bar.low) return "the high is below the low";
  if (bar.open > bar.high || bar.open < bar.low || bar.close > bar.high || bar.close < bar.low)
    return "the open and close must lie between the low and the high";
  if (bar.volume < 0) return "the volume is negative";
  return {};
}

}  // namespace

std::optional<BarText> readBarText(std::string_view text, std::string& error) {
  BarText read;
  std::vector<Bar>& bars = read.bars;
  std::optional<Layout> layout;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trimmed(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty()) continue;
    const std::vector<std::string_view> fields = fieldsOf(line);
    if (!layout) {
      if (headerMatches(fields, kExportColumns)) {
        layout = Layout::Export;
      } else if (headerMatches(fields, support::kBarCsvColumns)) {
        layout = Layout::Plain;
      } else {
        error = std::to_string(lineNumber) +
                ": unknown header; expected 'Date, Time, Open, High, Low, Last, Volume, ...' "
                "or 'datetime,open,high,low,close,volume'";
        return std::nullopt;
      }
      continue;
    }
    Bar bar{};
    bool utc = false;
    std::string reason = readBarLine(*layout, fields, bar, utc);
    if (reason.empty() && bars.empty()) read.utc = utc;
    if (reason.empty() && utc != read.utc) reason = "either every time ends in Z (UTC) or none does";
    if (!reason.empty()) {
      error = std::to_string(lineNumber) + ": " + reason;
      return std::nullopt;
    }
    if (!bars.empty() && bar.dateTime < bars.back().dateTime) {
      read.skipped.push_back(SkippedBarLine{lineNumber, bar.dateTime, bars.back().dateTime});
    } else if (!bars.empty() && bar.dateTime == bars.back().dateTime) {
      bars.back() = bar;
    } else {
      bars.push_back(bar);
    }
  }
  if (!layout) {
    error = "the file is empty";
    return std::nullopt;
  }
  if (bars.empty()) {
    error = std::to_string(lineNumber) + ": no bars after the header";
    return std::nullopt;
  }
  return read;
}

std::optional<BarText> readBarFile(const std::string& path, std::string& error) {
  return readFileWith(path, support::kBarsFileBound_bytes, ":", error,
                      [&](const std::string& text) { return readBarText(text, error); });
}

std::optional<BarText> readGrowingBarFile(const std::string& path, std::string& error) {
  return readFileWith(path, support::kBarsFileBound_bytes, ":", error, [&](const std::string& text) {
    return readBarText(std::string_view(text).substr(0, text.rfind('\n') + 1), error);
  });
}

std::string skippedLineText(const std::string& path, const SkippedBarLine& skipped) {
  const bool sameDay = support::dayNumberOf(skipped.at) == support::dayNumberOf(skipped.newest);
  return path + ":" + std::to_string(skipped.line) + ": a bar of " + support::formatDateTime(skipped.at) +
         " after the newest, of " +
         (sameDay ? support::formatTimeOfDay(skipped.newest) : support::formatDateTime(skipped.newest)) +
         ": skipped";
}

BarText inChartTime(BarText read, const chart_host::Chart& chart) {
  if (read.utc) {
    for (Bar& bar : read.bars) chart.convertFromZone(bar.dateTime, "UTC+00", bar.dateTime);
    for (SkippedBarLine& skipped : read.skipped) {
      chart.convertFromZone(skipped.at, "UTC+00", skipped.at);
      chart.convertFromZone(skipped.newest, "UTC+00", skipped.newest);
    }
    read.utc = false;
  }
  return read;
}

}  // namespace chart_tool::inputs
