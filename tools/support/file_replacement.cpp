// The part of a file's replacement that every platform shares: the
// temporary file's name and the words of a failure.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <random>

#include "tools/support/file_replacement.h"

namespace support {

std::string temporaryNameBeside(const std::string& path) {
  // Random per process, counted within it: two programs replacing one file,
  // or two threads of one, never pick the same name.
  static const uint64_t processPart = [] {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
  }();
  static std::atomic<uint64_t> counter{0};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".partial-%016llx",
                static_cast<unsigned long long>(processPart + 0x9E3779B97F4A7C15ull * counter.fetch_add(1)));
  return path + suffix;
}

Status notWritten(const std::string& path, const std::string& reason) {
  return Status::failure(path + ": cannot be written (" + reason + ")");
}

}  // namespace support
