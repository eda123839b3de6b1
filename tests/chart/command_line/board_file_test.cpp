// The board file: each chart's fields read over the command line's options
// as the options they stand for, and every kind of bad file refused in one
// line that names the chart and the field.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/chart/command_line/board_file.h"

using namespace chart_tool::command_line;

namespace {

ChartOptions commandLine() {
  ChartOptions options;
  std::string error;
  EXPECT_TRUE(parseChartOptions({"--set", "Greek=Delta", "--alert", "cross", "--tick-size", "0.5"}, options, error));
  return options;
}

TEST(BoardFile, ReadsEachChartOverTheCommandLine) {
  std::string error;
  const std::optional<Board> board = readBoardText(
      R"({"charts": [{"name": "ES", "set": ["Ticker=ES_SPX"]},
                     {"name": "nq-2", "set": ["Ticker=NQ_NDX"], "bars": "nq.csv", "settings": "/abs/s.json",
                      "tickSize": 0.25, "startPrice": "20500", "seed": 7, "zone": "Chicago", "alerts": ["near=4"]}]})",
      "boards", commandLine(), error);
  ASSERT_TRUE(board) << error;
  ASSERT_EQ(board->charts.size(), 2u);
  const ChartOptions& es = board->charts[0].options;
  const ChartOptions& nq = board->charts[1].options;
  EXPECT_EQ(board->charts[1].name, "nq-2");
  // The command line's --set first, then the chart's; its other options stay the command line's.
  ASSERT_EQ(es.settings.size(), 2u);
  EXPECT_EQ(es.settings[1], (InputSetting{"Ticker", "ES_SPX"}));
  EXPECT_EQ(es.tickSize, 0.5f);
  EXPECT_TRUE(es.alerts.cross);
  // A relative path from the board's folder; the chart's alerts in place of --alert.
  EXPECT_EQ(nq.barsPath, "boards/nq.csv");
  EXPECT_EQ(nq.settingsPath, "/abs/s.json");
  EXPECT_EQ(nq.tickSize, 0.25f);
  EXPECT_EQ(nq.startPrice, 20500.0f);
  EXPECT_EQ(nq.seed, 7u);
  EXPECT_EQ(nq.zoneText, "Chicago");
  EXPECT_FALSE(nq.alerts.cross);
  EXPECT_EQ(nq.alerts.nearTicks, 4);
}

TEST(BoardFile, RefusesABadFileInOneLineNamingTheChartAndField) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[", "not JSON: Invalid value. at byte 1"},
      {R"({"charts": []})", "expected {\"charts\": [...]} listing 1 to 16 charts"},
      {R"({"charts": [{"name": "ES"}], "colour": 1})", "expected {\"charts\": [...]} listing 1 to 16 charts"},
      {R"({"charts": [1]})", "chart 1: must be an object with a name"},
      {R"({"charts": [{"set": []}]})", "chart 1: name must be 1 to 32 letters, digits, '_' or '-'"},
      {R"({"charts": [{"name": "E S"}]})", "chart 1: name must be 1 to 32 letters, digits, '_' or '-'"},
      {R"({"charts": [{"name": "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456"}]})",
       "chart 1: name must be 1 to 32 letters, digits, '_' or '-'"},
      {R"({"charts": [{"name": "ES"}, {"name": "es"}]})",
       "chart 'es': the name is chart 'ES's already; names differ in more than case"},
      {R"({"charts": [{"name": "ES", "tickSize": 0}]})", "chart 'ES': tickSize takes a tick size above 0, not '0'"},
      {R"({"charts": [{"name": "ES", "seed": true}]})", "chart 'ES': seed must be a text or a number"},
      {R"({"charts": [{"name": "ES", "set": "Ticker=ES_SPX"}]})", "chart 'ES': set must be a list of texts"},
      {R"({"charts": [{"name": "ES", "set": ["=x"]}]})", "chart 'ES': set takes NAME=VALUE, not '=x'"},
      {R"({"charts": [{"name": "ES", "alerts": ["far"]}]})",
       "chart 'ES': alerts takes cross or near=TICKS (TICKS from 1 to 1000), not 'far'"},
      {R"({"charts": [{"name": "ES", "colour": "red"}]})",
       "chart 'ES': unknown field 'colour' (a chart has name, bars, startPrice, seed, zone, tickSize, settings, set "
       "and alerts)"},
  };
  for (const auto& [text, message] : cases) {
    std::string error;
    EXPECT_FALSE(readBoardText(text, "", commandLine(), error)) << text;
    EXPECT_EQ(error, message);
  }
  std::string seventeen = R"({"charts": [)";
  for (int i = 0; i < 17; ++i) seventeen += (i ? "," : "") + std::string(R"({"name": "c)") + std::to_string(i) + "\"}";
  std::string error;
  EXPECT_FALSE(readBoardText(seventeen + "]}", "", commandLine(), error));
}

}  // namespace
