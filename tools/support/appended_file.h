// A file appended to line by line and flushed after every line, so a run
// killed at any moment leaves it readable up to its last whole line (the
// recording's index). File names are UTF-8 on every platform. Errors come
// back as one line naming the file and the system's reason. What differs by
// system is in durable_files_*.cpp, beside the replacement of a file whole,
// with which it shares the writing and the flushing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace support {

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

}  // namespace support
