#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/support/appended_file.h"
#include "tools/support/file_replacement.h"
#include "tools/support/system_error.h"

namespace support {

namespace {

// Writes all of `bytes`; a short write (a signal) goes on where it stopped.
bool writeAllTo(int file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(file, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The renamed entry itself lasts only once its folder is flushed too.
void flushFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  ::fsync(handle);
  ::close(handle);
}

// Fills the new temporary file and gives it the target's name; removes it
// whatever fails.
Status fillAndRename(int file, const std::string& temporary, const std::string& path, std::string_view bytes,
                     Durability durability) {
  bool written = writeAllTo(file, bytes) && (durability == Durability::unflushed || ::fsync(file) == 0);
  std::string reason = written ? std::string() : lastSystemError();
  if (::close(file) != 0 && written) {
    written = false;
    reason = lastSystemError();
  }
  if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
    written = false;
    reason = lastSystemError();
  }
  if (!written) {
    ::unlink(temporary.c_str());
    return notWritten(path, reason);
  }
  if (durability == Durability::flushed) flushFolderOf(path);
  return Status::success();
}

// "PATH: WHAT failed: the system's reason", as the recording has always said it.
std::string appendingFailure(const std::string& path, const char* what) {
  return path + ": " + what + " failed: " + std::strerror(errno);
}

}  // namespace

Status replaceFile(const std::string& path, std::string_view bytes, Durability durability) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string temporary = temporaryNameBeside(path);
    // Exclusive and never through a link: a name planted beside the target
    // makes this pick another, it is never written through.
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file >= 0) return fillAndRename(file, temporary, path, bytes, durability);
    if (errno != EEXIST) return notWritten(path, lastSystemError());
  }
  return notWritten(path, "no free temporary name beside it");
}

AppendedFile::~AppendedFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool AppendedFile::create(const std::string& path, std::string& error) {
  path_ = path;
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
  if (file < 0) {
    error = appendingFailure(path, "creating");
    return false;
  }
  handle_ = file;
  flushFolderOf(path);
  return true;
}

bool AppendedFile::append(std::string_view bytes, std::string& error) {
  const int file = static_cast<int>(handle_);
  if (file < 0 || !writeAllTo(file, bytes) || ::fdatasync(file) != 0) {
    error = appendingFailure(path_, "appending");
    return false;
  }
  return true;
}

}  // namespace support
