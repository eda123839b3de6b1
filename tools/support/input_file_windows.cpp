#include <windows.h>

#include "tools/support/input_file.h"
#include "tools/support/system_error.h"
#include "tools/support/utf8_path.h"

namespace support {

namespace {

Status inputUnreadable(const std::string& path, const std::string& reason) {
  return Status::failure(path + ": cannot be read (" + reason + ")");
}

// Why what was opened is not a regular file, or null when it is.
const char* kindOfOpened(const BY_HANDLE_FILE_INFORMATION& information) {
  if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "a folder, not a file";
  if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return "a link, not a regular file";
  return nullptr;
}

// Why the opened handle is not a file on a disk, or null when it is. A device
// name (CON, NUL, COM1) opens as a character device.
const char* kindOfHandle(HANDLE file) {
  const DWORD type = GetFileType(file);
  if (type == FILE_TYPE_PIPE) return "a pipe, not a regular file";
  if (type != FILE_TYPE_DISK) return "a device, not a regular file";
  return nullptr;
}

Result<std::optional<std::string>> readOpenedHandle(HANDLE file, const std::string& path, uint64_t size_bytes,
                                                    uint64_t bound_bytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size_bytes));
  char chunk[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return inputUnreadable(path, lastSystemError());
    if (got == 0) break;
    bytes.append(chunk, got);
    if (bytes.size() > bound_bytes) return inputUnreadable(path, overBoundReason(bytes.size(), bound_bytes));
  }
  return std::optional<std::string>(std::move(bytes));
}

}  // namespace

Result<std::optional<std::string>> readInputFileIfPresent(const std::string& path, uint64_t bound_bytes) {
  // The link itself, not what it points at; a folder opens too, to be named.
  HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD failure = GetLastError();
    if (failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND) return std::optional<std::string>();
    return inputUnreadable(path, systemErrorText(failure));
  }
  BY_HANDLE_FILE_INFORMATION information{};
  Result<std::optional<std::string>> read = std::optional<std::string>();
  if (const char* handleKind = kindOfHandle(file)) {
    read = inputUnreadable(path, handleKind);
  } else if (!GetFileInformationByHandle(file, &information)) {
    read = inputUnreadable(path, lastSystemError());
  } else if (const char* kind = kindOfOpened(information)) {
    read = inputUnreadable(path, kind);
  } else {
    const uint64_t size = (uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
    if (size > bound_bytes)
      read = inputUnreadable(path, overBoundReason(size, bound_bytes));
    else
      read = readOpenedHandle(file, path, size, bound_bytes);
  }
  CloseHandle(file);
  return read;
}

}  // namespace support
