#include "tools/recording/recording_files.h"

#include <windows.h>

#include "tools/support/system_error.h"
#include "tools/support/utf8_path.h"

namespace recording {

namespace {

std::string failure(const std::string& path, const char* what) {
  return path + ": " + what + " failed (" + support::lastSystemError() + ")";
}

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

AppendedFile::~AppendedFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool AppendedFile::create(const std::string& path, std::string& error) {
  path_ = path;
  // Appending only: every write lands at the end, whatever else happened.
  HANDLE file = CreateFileW(support::widePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = failure(path, "creating");
    return false;
  }
  handle_ = reinterpret_cast<intptr_t>(file);
  return true;
}

bool AppendedFile::append(std::string_view bytes, std::string& error) {
  HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (handle_ == -1 || !writeAll(file, bytes) || !FlushFileBuffers(file)) {
    error = failure(path_, "appending");
    return false;
  }
  return true;
}

}  // namespace recording
