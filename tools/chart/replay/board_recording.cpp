#include "tools/chart/replay/board_recording.h"

#include <filesystem>
#include <system_error>

#include "tools/support/file_replacement.h"
#include "tools/support/utf8_path.h"

namespace chart_tool::replay {

namespace fs = std::filesystem;

bool beginBoardRecording(const std::string& folder, const std::string& boardText, std::string& error) {
  const fs::path path = support::pathFromUtf8(folder);
  std::error_code failure;
  const bool exists = fs::exists(fs::symlink_status(path, failure));
  if (exists && (!fs::is_directory(fs::symlink_status(path, failure)) || !fs::is_empty(path, failure))) {
    error = folder + ": " + (failure ? failure.message() : "is not an empty folder") +
            "; a recording needs a new or empty folder";
    return false;
  }
  fs::create_directories(path, failure);
  if (failure) {
    error = folder + ": cannot be made: " + failure.message();
    return false;
  }
  const support::Status written =
      support::replaceFile(folder + "/" + kBoardRecordingFile, boardText, support::Durability::flushed);
  if (!written) error = written.message();
  return written.ok();
}

bool isBoardRecording(const std::string& folder) {
  std::error_code failure;
  return fs::is_regular_file(support::pathFromUtf8(folder + "/" + kBoardRecordingFile), failure);
}

std::string chartRecordingFolder(const std::string& folder, const std::string& chart) {
  return folder + "/" + chart;
}

}  // namespace chart_tool::replay
