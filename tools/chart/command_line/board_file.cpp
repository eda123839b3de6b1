#include "tools/chart/command_line/board_file.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <algorithm>
#include <cctype>
#include <functional>

#include "tools/chart/command_line/option_table.h"
#include "tools/chart/inputs/text_file.h"

namespace chart_tool::command_line {

namespace {

using Value = rapidjson::Value;

// A chart's field and the option it stands for; a path is taken from the
// board file's folder, a list gives the option once per item.
struct BoardField {
  const char* field;
  const char* option;
  bool path = false;
  bool list = false;
};

constexpr BoardField kFields[] = {
    {"bars", "--bars", true},          {"startPrice", "--start-price"}, {"seed", "--seed"},
    {"zone", "--zone"},                {"tickSize", "--tick-size"},     {"settings", "--settings", true},
    {"set", "--set", false, true},     {"alerts", "--alert", false, true},
};

const ChartOption& optionNamed(const std::string& name) {
  const auto& table = chartOptionTable();
  return *std::find_if(table.begin(), table.end(),
                       [&](const ChartOption& option) { return std::string(option.help.names) == name; });
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

bool isRelative(const std::string& path) {
  const bool drive = path.size() > 1 && path[1] == ':';
  return !path.empty() && path[0] != '/' && path[0] != '\\' && !drive;
}

std::string textOf(const Value& value) { return std::string(value.GetString(), value.GetStringLength()); }

// Reads one field's value (text, or a list of texts) into the chart's options.
bool readField(const BoardField& field, const Value& value, const std::string& folder, ChartOptions& options,
               std::string& error) {
  const ChartOption& option = optionNamed(field.option);
  std::vector<std::string> texts;
  if (field.list && value.IsArray()) {
    for (const Value& item : value.GetArray()) {
      if (!item.IsString()) {
        error = std::string(field.field) + " lists texts, as " + field.option + " takes them";
        return false;
      }
      texts.push_back(textOf(item));
    }
  } else if (!field.list && value.IsString()) {
    texts.push_back(textOf(value));
  } else {
    error = std::string(field.field) + (field.list ? " must be a list of texts" : " must be a text or a number");
    return false;
  }
  if (field.option == std::string("--alert")) {  // the chart's alerts in place of the command line's
    options.alerts.cross = false;
    options.alerts.nearTicks = 0;
  }
  for (std::string text : texts) {
    if (field.path && isRelative(text) && !folder.empty()) text = folder + "/" + text;
    if (!option.read(options, text)) {
      error = std::string(field.field) + " takes " + option.takes + ", not " + inputs::quoted(text);
      return false;
    }
  }
  return true;
}

// One chart: its name, then its fields over the command line's options.
std::optional<BoardChart> readChart(const Value& chart, std::size_t number, const std::string& folder,
                                    const ChartOptions& commandLine, std::string& error) {
  std::string where = "chart " + std::to_string(number);
  if (!chart.IsObject()) {
    error = where + ": must be an object with a name";
    return std::nullopt;
  }
  BoardChart read{"", commandLine};
  const auto name = chart.FindMember("name");
  if (name == chart.MemberEnd() || !name->value.IsString() || !isChartName(textOf(name->value))) {
    error = where + ": name must be 1 to 32 letters, digits, '_' or '-'";
    return std::nullopt;
  }
  read.name = textOf(name->value);
  where = "chart '" + read.name + "'";
  for (const auto& member : chart.GetObject()) {
    const std::string field = textOf(member.name);
    if (field == "name") continue;
    const auto known = std::find_if(std::begin(kFields), std::end(kFields),
                                    [&](const BoardField& f) { return field == f.field; });
    if (known == std::end(kFields)) {
      error = where + ": unknown field " + inputs::quoted(field) +
              " (a chart has name, bars, startPrice, seed, zone, tickSize, settings, set and alerts)";
      return std::nullopt;
    }
    if (!readField(*known, member.value, folder, read.options, error)) {
      error = where + ": " + error;
      return std::nullopt;
    }
  }
  if (!checkOptionsTogether(read.options, error)) {
    error = where + ": " + error;
    return std::nullopt;
  }
  return read;
}

}  // namespace

bool isChartName(const std::string& name) {
  return !name.empty() && name.size() <= 32 && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) != 0 || c == '_' || c == '-';
  });
}

std::optional<Board> readBoardText(const std::string& text, const std::string& folder, const ChartOptions& commandLine,
                                   std::string& error) {
  rapidjson::Document document;
  document.Parse<rapidjson::kParseNumbersAsStringsFlag>(text.c_str(), text.size());
  if (document.HasParseError()) {
    error = std::string("not JSON: ") + rapidjson::GetParseError_En(document.GetParseError()) + " at byte " +
            std::to_string(document.GetErrorOffset());
    return std::nullopt;
  }
  const bool listed = document.IsObject() && document.MemberCount() == 1 && document.HasMember("charts") &&
                      document["charts"].IsArray();
  if (!listed || document["charts"].Empty() || document["charts"].Size() > kMostBoardCharts) {
    error = "expected {\"charts\": [...]} listing 1 to " + std::to_string(kMostBoardCharts) + " charts";
    return std::nullopt;
  }
  Board board{text, {}};
  for (const Value& chart : document["charts"].GetArray()) {
    std::optional<BoardChart> read = readChart(chart, board.charts.size() + 1, folder, commandLine, error);
    if (!read) return std::nullopt;
    for (const BoardChart& before : board.charts) {
      if (lowerCase(before.name) != lowerCase(read->name)) continue;
      error = "chart '" + read->name + "': the name is chart '" + before.name + "'s already; names differ in more "
              "than case";
      return std::nullopt;
    }
    board.charts.push_back(std::move(*read));
  }
  return board;
}

std::optional<Board> readBoardFile(const std::string& path, const ChartOptions& commandLine, std::string& error) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  return inputs::readFileWith(path, support::kSettingsFileBound_bytes, ": ", error, [&](const std::string& text) {
    return readBoardText(text, folder, commandLine, error);
  });
}

}  // namespace chart_tool::command_line
