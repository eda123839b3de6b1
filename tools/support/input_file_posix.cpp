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

// Reads what the opened file holds, up to one byte past the bound, so a file
// that grew after it was looked at is refused too.
Result<std::optional<std::string>> readOpenedInput(int file, const std::string& path, uint64_t size_bytes,
                                                   uint64_t bound_bytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size_bytes));
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(file, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return unreadable(path, lastSystemError());
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
    if (bytes.size() > bound_bytes) return unreadable(path, overBoundReason(bytes.size(), bound_bytes));
  }
  return std::optional<std::string>(std::move(bytes));
}

}  // namespace

Result<std::optional<std::string>> readInputFileIfPresent(const std::string& path, uint64_t bound_bytes) {
  // Without blocking: opening a FIFO would otherwise wait for a writer.
  const int file = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) {
    if (errno == ENOENT) return std::optional<std::string>();
    if (errno == ELOOP) return unreadable(path, "a symbolic link, not a regular file");
    return unreadable(path, lastSystemError());
  }
  struct stat opened {};
  Result<std::optional<std::string>> read = std::optional<std::string>();
  if (::fstat(file, &opened) != 0)
    read = unreadable(path, lastSystemError());
  else if (!S_ISREG(opened.st_mode))
    read = unreadable(path, kindOfNonRegular(opened.st_mode));
  else if (static_cast<uint64_t>(opened.st_size) > bound_bytes)
    read = unreadable(path, overBoundReason(static_cast<uint64_t>(opened.st_size), bound_bytes));
  else
    read = readOpenedInput(file, path, static_cast<uint64_t>(opened.st_size), bound_bytes);
  ::close(file);
  return read;
}

}  // namespace support
