// A board: several charts in one run, listed in a JSON file (--board FILE).
// Each chart is the command line's chart with the chart's own fields read
// over it, each as the option it stands for reads it, so a value is held to
// the same rules and refused in the same words as on the command line:
//
//   {"charts": [{"name": "ES", "set": ["Ticker=ES_SPX"]},
//               {"name": "NQ", "set": ["Ticker=NQ_NDX"], "bars": "nq.csv", "tickSize": 0.25}]}
//
// Per chart: name (1 to 32 letters, digits, '_' or '-', unique in any case),
// bars, startPrice, seed, zone, tickSize, settings, set (after the command
// line's --set, in order) and alerts (in place of the command line's
// --alert). A relative path is taken from the board file's folder. The
// clock, the key, the service, the page, record or replay, --on-alert and
// the outputs folder are the whole run's, from the command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/chart/command_line/chart_options.h"

namespace chart_tool::command_line {

// A run shows at most this many charts: each has its own requests to the
// service and its own thread.
inline constexpr std::size_t kMostBoardCharts = 16;

struct BoardChart {
  std::string name;
  ChartOptions options;
};

struct Board {
  std::string text;  // the file as read, for a recording of the board
  std::vector<BoardChart> charts;
};

// Whether `name` may name a chart: 1 to 32 letters, digits, '_' or '-'.
bool isChartName(const std::string& name);

// The board the file lists, or nothing with a one-line reason naming the
// chart and the field ("FILE: chart 'NQ': tickSize takes ..., not '0'").
std::optional<Board> readBoardText(const std::string& text, const std::string& folder, const ChartOptions& commandLine,
                                   std::string& error);
std::optional<Board> readBoardFile(const std::string& path, const ChartOptions& commandLine, std::string& error);

}  // namespace chart_tool::command_line
