// The system's reason for the last failed call, as one short line of text,
// so every platform file words a failure the same way ("PATH: cannot be
// read (No such file or directory)"). One file per platform.
#pragma once

#include <string>

namespace support {

// The text of the failure the calling thread's last system call reported
// (errno on POSIX, GetLastError on Windows), without a trailing full stop.
std::string lastSystemError();

// The text of a system error number of this platform.
std::string systemErrorText(unsigned long code);

}  // namespace support
