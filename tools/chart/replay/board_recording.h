// A board's recording (--board with --record FOLDER): the board file as it
// was read, FOLDER/board.json, and beside it one chart's recording per
// chart, FOLDER/NAME/. A replay of FOLDER replays every chart of it.
#pragma once

#include <string>

namespace chart_tool::replay {

inline constexpr const char* kBoardRecordingFile = "board.json";

// Makes the folder (new, or empty) and writes the board file into it; false
// with the reason.
bool beginBoardRecording(const std::string& folder, const std::string& boardText, std::string& error);

// Whether the folder holds a board's recording.
bool isBoardRecording(const std::string& folder);

// Where the recording of the chart named is in a board's recording.
std::string chartRecordingFolder(const std::string& folder, const std::string& chart);

}  // namespace chart_tool::replay
