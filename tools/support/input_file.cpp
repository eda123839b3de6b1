// What every platform's input reader shares: reading a file that is absent
// as a failure, and the words for an input over its bound.
#include "tools/support/input_file.h"

namespace support {

Result<std::string> readInputFile(const std::string& path, uint64_t bound_bytes) {
  Result<std::optional<std::string>> read = readInputFileIfPresent(path, bound_bytes);
  if (!read) return read.status();
  if (!read.value()) return Status::failure(path + ": cannot be read (No such file or directory)");
  return std::move(*read.value());
}

std::string overBoundReason(uint64_t size_bytes, uint64_t bound_bytes) {
  return std::to_string(size_bytes) + " bytes, more than the " + std::to_string(bound_bytes) +
         " an input of its kind may hold";
}

}  // namespace support
