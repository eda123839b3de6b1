#include "tools/chart/outputs/frames_writer.h"

#include <cstdio>
#include <filesystem>
#include <regex>
#include <system_error>
#include <vector>

#include "tools/support/date_time_text.h"
#include "tools/chart/outputs/picture_file.h"

namespace chart_tool::outputs {

namespace {

namespace fs = std::filesystem;

// Frames of an earlier, longer run would otherwise sit after this run's.
bool removeOldFrames(const fs::path& folder, std::string& error) {
  static const std::regex kFrameName("frame-[0-9]{6,}\\.png");
  std::error_code failed;
  std::vector<fs::path> old;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, failed))
    if (std::regex_match(entry.path().filename().string(), kFrameName)) old.push_back(entry.path());
  for (const fs::path& frame : old)
    if (!failed) fs::remove(frame, failed);
  if (failed) error = folder.generic_string() + ": cannot clear its old frames (" + failed.message() + ")";
  return !failed;
}

}  // namespace

std::string frameFileName(int64_t number) {
  char name[40];
  std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(number));
  return name;
}

bool FramesWriter::open(const std::string& folder, int64_t every_us, std::string& error) {
  folder_ = folder;
  every_us_ = every_us;
  std::error_code failed;
  fs::create_directories(folder, failed);
  if (failed || !fs::is_directory(folder, failed)) {
    error = "--frames: " + folder + ": cannot be made a folder";
    return false;
  }
  if (!removeOldFrames(folder, error)) return false;
  const std::string indexPath = (fs::path(folder) / kFramesIndexName).generic_string();
  index_.open(indexPath, std::ios::binary | std::ios::trunc);
  if (!index_) {
    error = indexPath + ": cannot be written";
    return false;
  }
  index_ << "frame,time\n" << std::flush;
  return true;
}

void FramesWriter::look(chart_host::StudyInstance& instance, const chart_host::ChartPictureOptions& picture,
                        HostDateTime now) {
  if (!index_.is_open() || !failure_.empty() || (started_ && now < due_)) return;
  if (!started_) due_ = now;
  started_ = true;
  due_ += ((now - due_) / every_us_ + 1) * every_us_;  // the next due time after now
  const std::string name = frameFileName(written_ + 1);
  std::string error;
  if (!writePictureFile(instance, picture, (fs::path(folder_) / name).generic_string(), error)) {
    failure_ = error;
    return;
  }
  ++written_;
  index_ << written_ << "," << support::formatDateTime(now) << "\n" << std::flush;
  if (!index_) failure_ = (fs::path(folder_) / kFramesIndexName).generic_string() + ": writing failed";
}

}  // namespace chart_tool::outputs
