#include "tools/support/system_error.h"

#include <cerrno>
#include <cstring>

namespace support {

std::string lastSystemError() { return systemErrorText(static_cast<unsigned long>(errno)); }

std::string systemErrorText(unsigned long code) { return std::strerror(static_cast<int>(code)); }

}  // namespace support
