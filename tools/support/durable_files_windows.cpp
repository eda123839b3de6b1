#include <windows.h>

#include "tools/support/appended_file.h"
#include "tools/support/file_replacement.h"
#include "tools/support/system_error.h"
#include "tools/support/utf8_path.h"

namespace support {

namespace {

bool writeAllToHandle(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Windows refuses to replace a file while another handle has it open
// without sharing its deletion: a viewer reading the picture, or another
// replacement of the same file finishing. Such a refusal lasts moments, so
// the move is tried again for a while before it counts as a failure.
constexpr int kMoveAttempts = 50;
constexpr DWORD kMoveRetryPause_ms = 10;

bool moveOver(const std::wstring& from, const std::wstring& to, DWORD flags) {
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), flags)) return true;
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == kMoveAttempts) {
      SetLastError(error);
      return false;
    }
    Sleep(kMoveRetryPause_ms);
  }
}

Status fillAndMove(HANDLE file, const std::wstring& temporary, const std::string& path, std::string_view bytes,
                   Durability durability) {
  bool written = writeAllToHandle(file, bytes) && (durability == Durability::unflushed || FlushFileBuffers(file));
  std::string reason = written ? std::string() : lastSystemError();
  CloseHandle(file);
  const DWORD moveFlags =
      MOVEFILE_REPLACE_EXISTING | (durability == Durability::flushed ? MOVEFILE_WRITE_THROUGH : 0);
  if (written && !moveOver(temporary, widePath(path), moveFlags)) {
    written = false;
    reason = lastSystemError();
  }
  if (written) return Status::success();
  DeleteFileW(temporary.c_str());
  return notWritten(path, reason);
}

// "PATH: WHAT failed (the system's reason)", as the recording has always said it.
std::string appendingFailure(const std::string& path, const char* what) {
  return path + ": " + what + " failed (" + lastSystemError() + ")";
}

}  // namespace

Status replaceFile(const std::string& path, std::string_view bytes, Durability durability) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::wstring temporary = widePath(temporaryNameBeside(path));
    // CREATE_NEW fails on any name already there, a link included.
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) return fillAndMove(file, temporary, path, bytes, durability);
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
      return notWritten(path, lastSystemError());
  }
  return notWritten(path, "no free temporary name beside it");
}

AppendedFile::~AppendedFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool AppendedFile::create(const std::string& path, std::string& error) {
  path_ = path;
  // Appending only: every write lands at the end, whatever else happened.
  HANDLE file = CreateFileW(widePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = appendingFailure(path, "creating");
    return false;
  }
  handle_ = reinterpret_cast<intptr_t>(file);
  return true;
}

bool AppendedFile::append(std::string_view bytes, std::string& error) {
  HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (handle_ == -1 || !writeAllToHandle(file, bytes) || !FlushFileBuffers(file)) {
    error = appendingFailure(path_, "appending");
    return false;
  }
  return true;
}

}  // namespace support
