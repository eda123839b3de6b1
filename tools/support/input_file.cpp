// What every platform's input reader shares: reading a file that is absent
// as a failure, reading a whole file once opened, the words for an input over
// its bound, and what may name a file inside a folder.
#include "tools/support/input_file.h"

namespace support {

Result<std::string> readInputFile(const std::string& path, uint64_t bound_bytes) {
  Result<std::optional<std::string>> read = readInputFileIfPresent(path, bound_bytes);
  if (!read) return read.status();
  if (!read.value()) return Status::failure(path + ": cannot be read (No such file or directory)");
  return std::move(*read.value());
}

Result<std::optional<std::string>> readInputFileIfPresent(const std::string& path, uint64_t bound_bytes) {
  Result<std::optional<InputFile>> opened = openInputFileIfPresent(path);
  if (!opened) return opened.status();
  if (!opened.value()) return std::optional<std::string>();
  Result<std::string> read = opened.value()->read(bound_bytes);
  if (!read) return read.status();
  return std::optional<std::string>(std::move(read.value()));
}

std::string overBoundReason(uint64_t size_bytes, uint64_t bound_bytes) {
  return std::to_string(size_bytes) + " bytes, more than the " + std::to_string(bound_bytes) +
         " an input of its kind may hold";
}

OpenedHandle& OpenedHandle::operator=(OpenedHandle&& other) noexcept {
  if (this != &other) {
    close();
    value_ = std::exchange(other.value_, kNone);
  }
  return *this;
}

const char* notAPlainName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return "not the name of a file inside its folder";
  if (name.find_first_of("/\\") != std::string::npos) return "not the name of a file inside its folder";
  return nullptr;
}

}  // namespace support
