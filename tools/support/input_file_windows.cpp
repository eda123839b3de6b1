#include <windows.h>

#include <string_view>

#include "tools/support/input_file.h"
#include "tools/support/system_error.h"
#include "tools/support/utf8_path.h"

namespace support {

namespace {

constexpr const char* kDeviceReason = "a device's name, not a regular file";

Status inputUnreadable(const std::string& path, const std::string& reason) {
  return Status::failure(path + ": cannot be read (" + reason + ")");
}

HANDLE handleOf(const OpenedHandle& held) { return reinterpret_cast<HANDLE>(held.value()); }

bool isSeparator(char c) { return c == '\\' || c == '/'; }
bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string upperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// Whether `path` leads into the system's device space rather than to a file
// on a disk: "\\.\PIPE\NAME", "\\.\COM1", "\\?\GLOBALROOT\...", "\??\...";
// only a drive or a share may follow "\\?\" ("\\?\C:\...", "\\?\UNC\...").
bool inDeviceSpace(const std::string& path) {
  if (path.size() < 4 || !isSeparator(path[0]) || !isSeparator(path[3])) return false;
  if (isSeparator(path[1]) && path[2] == '.') return true;
  if (!(isSeparator(path[1]) || path[1] == '?') || path[2] != '?') return false;
  const std::string_view rest = std::string_view(path).substr(4);
  const bool drive = rest.size() >= 3 && isAsciiLetter(rest[0]) && rest[1] == ':' && isSeparator(rest[2]);
  const bool share = rest.size() >= 4 && upperAscii(rest.substr(0, 3)) == "UNC" && isSeparator(rest[3]);
  return !drive && !share;
}

// Whether the last part of `path` is a name that opens a device in whatever
// folder it stands: CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0 to COM9 and
// LPT0 to LPT9 (also with a superscript 1, 2 or 3), in any case, with any
// extension or stream and trailing spaces.
bool isDeviceName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.size() >= 2 && isAsciiLetter(name[0]) && name[1] == ':') name.remove_prefix(2);
  name = name.substr(0, name.find_first_of(".:"));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::string upper = upperAscii(name);
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (upper == device) return true;
  if (upper.rfind("COM", 0) != 0 && upper.rfind("LPT", 0) != 0) return false;
  const std::string_view number = std::string_view(upper).substr(3);
  const bool digit = number.size() == 1 && number[0] >= '0' && number[0] <= '9';
  return digit || number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

bool namesADevice(const std::string& path) { return inDeviceSpace(path) || isDeviceName(path); }

// Why what was opened is not a regular file, or null when it is.
const char* kindOfOpened(const BY_HANDLE_FILE_INFORMATION& information) {
  if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "a folder, not a file";
  if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return "a link, not a regular file";
  return nullptr;
}

// Why the opened handle is not a file on a disk, or null when it is. A device
// reached by a name not refused above opens as a character device.
const char* kindOfHandle(HANDLE file) {
  const DWORD type = GetFileType(file);
  if (type == FILE_TYPE_PIPE) return "a pipe, not a regular file";
  if (type != FILE_TYPE_DISK) return "a device, not a regular file";
  return nullptr;
}

// Nothing when the last open found nothing at `path`, its failure otherwise.
template <typename Opened>
Result<std::optional<Opened>> absentOrUnreadable(const std::string& path) {
  const DWORD failure = GetLastError();
  if (failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND) return std::optional<Opened>();
  return inputUnreadable(path, systemErrorText(failure));
}

// Opens the file at `path`: the reparse point itself, not what it points at;
// a folder opens too, to be named. What was opened is checked after.
Result<std::optional<InputFile>> openRegular(const std::string& path) {
  if (namesADevice(path)) return inputUnreadable(path, kDeviceReason);
  HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return absentOrUnreadable<InputFile>(path);
  OpenedHandle held(reinterpret_cast<std::intptr_t>(file));
  if (const char* handleKind = kindOfHandle(file)) return inputUnreadable(path, handleKind);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file, &information)) return inputUnreadable(path, lastSystemError());
  if (const char* kind = kindOfOpened(information)) return inputUnreadable(path, kind);
  const uint64_t size = (uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
  return std::optional<InputFile>(InputFile(std::move(held), path, size));
}

// Opens the folder at `path` (a reparse point where it ends is followed only
// when `followLink`) and holds it without sharing its deletion: while it is
// held, the system renames, removes or replaces neither it nor a folder above
// it, so a file opened by a path through it is inside it.
Result<std::optional<InputFolder>> openFolder(const std::string& path, bool followLink) {
  if (namesADevice(path)) return inputUnreadable(path, "a device's name, not a folder");
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  HANDLE folder = CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, flags, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return absentOrUnreadable<InputFolder>(path);
  OpenedHandle held(reinterpret_cast<std::intptr_t>(folder));
  if (GetFileType(folder) != FILE_TYPE_DISK) return inputUnreadable(path, "a device, not a folder");
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(folder, &information)) return inputUnreadable(path, lastSystemError());
  if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return inputUnreadable(path, "a link, not a folder");
  if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return inputUnreadable(path, "a file, not a folder");
  return std::optional<InputFolder>(InputFolder(std::move(held), path));
}

// Why `name` cannot name a file directly inside a folder: a separator, "..",
// or a stream of a file (NAME:STREAM); null when it can.
const char* notAName(const std::string& name) {
  if (const char* reason = notAPlainName(name)) return reason;
  return name.find(':') == std::string::npos ? nullptr : "not the name of a file inside its folder";
}

}  // namespace

void OpenedHandle::close() {
  if (value_ != kNone) CloseHandle(reinterpret_cast<HANDLE>(value_));
  value_ = kNone;
}

// Reads what the opened file holds, up to one byte past the bound, so a file
// that grew after it was looked at is refused too.
Result<std::string> InputFile::read(uint64_t bound_bytes) {
  if (size_bytes_ > bound_bytes) return inputUnreadable(path_, overBoundReason(size_bytes_, bound_bytes));
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size_bytes_));
  char chunk[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handleOf(handle_), chunk, sizeof chunk, &got, nullptr))
      return inputUnreadable(path_, lastSystemError());
    if (got == 0) break;
    bytes.append(chunk, got);
    if (bytes.size() > bound_bytes) return inputUnreadable(path_, overBoundReason(bytes.size(), bound_bytes));
  }
  return bytes;
}

Result<std::optional<InputFile>> openInputFileIfPresent(const std::string& path) { return openRegular(path); }

Result<std::optional<InputFolder>> InputFolder::openIfPresent(const std::string& path) {
  return openFolder(path, true);
}

Result<std::optional<InputFolder>> InputFolder::folderIfPresent(const std::string& name) const {
  if (const char* reason = notAName(name)) return inputUnreadable(pathOf(name), reason);
  return openFolder(pathOf(name), false);
}

Result<std::optional<InputFile>> InputFolder::fileIfPresent(const std::string& name) const {
  if (const char* reason = notAName(name)) return inputUnreadable(pathOf(name), reason);
  return openRegular(pathOf(name));
}

}  // namespace support
