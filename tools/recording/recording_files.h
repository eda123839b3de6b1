// What a recording needs of the file system beyond a file replaced whole
// (tools/support/file_replacement.h), one file per platform: an index
// appended line by line that a run killed at any moment leaves readable up
// to its last whole line. File names are UTF-8 on every platform. Errors come
// back as one line naming the file and the system's reason.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace recording {

// A folder's name without the separators it may end with, to put "/NAME" after.
inline std::string folderName(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

// The recording's index, open for appending.
class AppendedFile {
 public:
  AppendedFile() = default;
  ~AppendedFile();
  AppendedFile(const AppendedFile&) = delete;
  AppendedFile& operator=(const AppendedFile&) = delete;

  // Creates the file; one that is already there is refused.
  bool create(const std::string& path, std::string& error);
  // Appends `bytes` with one write and flushes them to the disk, so a line
  // is never mixed with another and a killed run cuts at most the last.
  bool append(std::string_view bytes, std::string& error);

 private:
  std::string path_;
  intptr_t handle_ = -1;
};

}  // namespace recording
