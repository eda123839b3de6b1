// Price bars from a text file, in either of two comma-separated layouts told
// apart by their header line:
//   the charting platform's intraday export
//     Date, Time, Open, High, Low, Last, Volume, NumberOfTrades, BidVolume, AskVolume
//     2026/03/02, 09:30:00, 5800.25, 5801.5, 5799.75, 5801, 1250, 310, 600, 650
//   a plain layout
//     datetime,open,high,low,close,volume
//     2026-03-02 09:30:00,5800.25,5801.5,5799.75,5801,1250
// Times are the chart's wall-clock times; in the plain layout a time may end
// in 'Z' for UTC instead ("2026-03-02T14:30:00Z"), all of them or none. A
// writer that appends its forming bar again as it changes writes a line with
// the newest bar's time: it replaces that bar. A line older than the newest
// bar is skipped and noted by its number, and the lines after it are read.
// The first line that breaks any other rule is reported by its number.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/chart.h"

namespace chart_tool {

using chart_host::Bar;

}  // namespace chart_tool

namespace chart_tool::inputs {

// A line left out because its bar is older than the newest before it.
struct SkippedBarLine {
  int line = 0;
  HostDateTime at = 0;      // its bar's time
  HostDateTime newest = 0;  // the newest bar's time then
  bool operator==(const SkippedBarLine&) const = default;
};

struct BarText {
  std::vector<Bar> bars;
  bool utc = false;  // the times are UTC, not the chart's
  std::vector<SkippedBarLine> skipped;
};

// "PATH:12: a bar of 2026-03-02 09:29:00 after the newest, of 09:31:00:
// skipped"; the times as `inChartTime` left them.
std::string skippedLineText(const std::string& path, const SkippedBarLine& skipped);

// The bars of the text, or nothing with "LINE: reason" in `error`.
std::optional<BarText> readBarText(std::string_view text, std::string& error);

// The bars of the file at `path` (after a byte-order mark, as every text file
// the program reads), or nothing with "PATH:LINE: reason" (or why the file
// cannot be read) in `error`.
std::optional<BarText> readBarFile(const std::string& path, std::string& error);

// The same for a file another program is still writing: a last line without
// its line end is left out, as it may be cut in the middle of a number.
std::optional<BarText> readGrowingBarFile(const std::string& path, std::string& error);

// A bars file's bars, and the times of its skipped lines, in the chart's
// time: a file of UTC times is converted, so every message speaks the chart's.
BarText inChartTime(BarText read, const chart_host::Chart& chart);

}  // namespace chart_tool::inputs
