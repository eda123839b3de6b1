#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tools/support/input_file.h"
#include "tools/support/system_error.h"

namespace support {

namespace {

Status unreadable(const std::string& path, const std::string& reason) {
  return Status::failure(path + ": cannot be read (" + reason + ")");
}

// What a path that is not a regular file is, in a person's words.
const char* kindOfNonRegular(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder, not a file";
  if (S_ISFIFO(mode)) return "a FIFO, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a regular file";
  if (S_ISSOCK(mode)) return "a socket, not a regular file";
  return "not a regular file";
}

// What `name` in the folder `at` is, when opening it as a folder was refused:
// looked at only to word the refusal, never to decide it.
const char* kindOfNonFolder(int at, const std::string& name, bool followLink) {
  struct stat seen {};
  if (::fstatat(at, name.c_str(), &seen, followLink ? 0 : AT_SYMLINK_NOFOLLOW) != 0) return "not a folder";
  if (S_ISLNK(seen.st_mode)) return "a symbolic link, not a folder";
  if (S_ISREG(seen.st_mode)) return "a file, not a folder";
  if (S_ISFIFO(seen.st_mode)) return "a FIFO, not a folder";
  if (S_ISCHR(seen.st_mode) || S_ISBLK(seen.st_mode)) return "a device, not a folder";
  return "not a folder";
}

// Opens `name` in the folder `at` (AT_FDCWD: a path) without following a link
// where it ends and without waiting for a FIFO's writer, then checks what was
// opened, so nothing can be swapped in between the check and the read.
Result<std::optional<InputFile>> openRegularAt(int at, const std::string& name, const std::string& path) {
  const int file = ::openat(at, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) {
    if (errno == ENOENT) return std::optional<InputFile>();
    if (errno == ELOOP) return unreadable(path, "a symbolic link, not a regular file");
    return unreadable(path, lastSystemError());
  }
  OpenedHandle held(file);
  struct stat opened {};
  if (::fstat(file, &opened) != 0) return unreadable(path, lastSystemError());
  if (!S_ISREG(opened.st_mode)) return unreadable(path, kindOfNonRegular(opened.st_mode));
  return std::optional<InputFile>(InputFile(std::move(held), path, static_cast<uint64_t>(opened.st_size)));
}

// Opens the folder `name` in the folder `at`: only a folder opens (never a
// FIFO or a device), and a link where it ends only when `followLink`.
Result<std::optional<InputFolder>> openFolderAt(int at, const std::string& name, const std::string& path,
                                                bool followLink) {
  const int flags = O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
  const int folder = ::openat(at, name.c_str(), flags);
  if (folder < 0) {
    if (errno == ENOENT) return std::optional<InputFolder>();
    if (errno == ENOTDIR || errno == ELOOP) return unreadable(path, kindOfNonFolder(at, name, followLink));
    return unreadable(path, lastSystemError());
  }
  return std::optional<InputFolder>(InputFolder(OpenedHandle(folder), path));
}

}  // namespace

void OpenedHandle::close() {
  if (value_ != kNone) ::close(static_cast<int>(value_));
  value_ = kNone;
}

// Reads what the opened file holds, up to one byte past the bound, so a file
// that grew after it was looked at is refused too.
Result<std::string> InputFile::read(uint64_t bound_bytes) {
  if (size_bytes_ > bound_bytes) return unreadable(path_, overBoundReason(size_bytes_, bound_bytes));
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size_bytes_));
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(handle_.value()), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return unreadable(path_, lastSystemError());
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
    if (bytes.size() > bound_bytes) return unreadable(path_, overBoundReason(bytes.size(), bound_bytes));
  }
  return bytes;
}

Result<std::optional<InputFile>> openInputFileIfPresent(const std::string& path) {
  return openRegularAt(AT_FDCWD, path, path);
}

Result<std::optional<InputFolder>> InputFolder::openIfPresent(const std::string& path) {
  return openFolderAt(AT_FDCWD, path, path, true);
}

Result<std::optional<InputFolder>> InputFolder::folderIfPresent(const std::string& name) const {
  if (const char* reason = notAPlainName(name)) return unreadable(pathOf(name), reason);
  return openFolderAt(static_cast<int>(handle_.value()), name, pathOf(name), false);
}

Result<std::optional<InputFile>> InputFolder::fileIfPresent(const std::string& name) const {
  if (const char* reason = notAPlainName(name)) return unreadable(pathOf(name), reason);
  return openRegularAt(static_cast<int>(handle_.value()), name, pathOf(name));
}

}  // namespace support
