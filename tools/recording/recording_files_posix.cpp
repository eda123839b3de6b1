#include "tools/recording/recording_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace recording {

namespace {

std::string failure(const std::string& path, const char* what) {
  return path + ": " + what + " failed: " + std::strerror(errno);
}

// Writes all of `bytes`; a short write (a full disk, a signal) goes on where
// it stopped.
bool writeAll(int file, std::string_view bytes) {
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

}  // namespace

AppendedFile::~AppendedFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool AppendedFile::create(const std::string& path, std::string& error) {
  path_ = path;
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
  if (file < 0) {
    error = failure(path, "creating");
    return false;
  }
  handle_ = file;
  flushFolderOf(path);
  return true;
}

bool AppendedFile::append(std::string_view bytes, std::string& error) {
  const int file = static_cast<int>(handle_);
  if (file < 0 || !writeAll(file, bytes) || ::fdatasync(file) != 0) {
    error = failure(path_, "appending");
    return false;
  }
  return true;
}

}  // namespace recording
