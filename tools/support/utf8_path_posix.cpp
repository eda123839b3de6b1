#include "tools/support/utf8_path.h"

namespace support {

// The system takes the bytes as they are.
std::filesystem::path pathFromUtf8(const std::string& utf8) { return std::filesystem::path(utf8); }

}  // namespace support
