// A file replaced whole: the new bytes go to a temporary file created beside
// the target under a name no one else holds (made exclusively, never through
// a symbolic link planted there), which then takes the target's name in one
// step. A reader (an image viewer, a program watching the status, a replay)
// sees the old file or the new one, never a part of either, and a failure
// leaves nothing behind. Thread-safe: every call picks its own name.
#pragma once

#include <string>
#include <string_view>

#include "tools/support/result.h"

namespace support {

enum class Durability {
  // On the disk, with the folder entry that names it, before the call
  // returns: the file outlives a crash of the machine (a recording).
  flushed,
  // Written back when the system chooses: for files replaced on every call
  // (the status, the live picture), where a flush would cost more than the
  // file is worth.
  unflushed,
};

// Replaces the file at the UTF-8 `path` with `bytes`. On failure, "PATH:
// cannot be written (the system's reason)", and the old file is untouched.
Status replaceFile(const std::string& path, std::string_view bytes, Durability durability);

// A new name beside `path` for its temporary file: the path with a suffix
// of random digits that differs on every call, in this process and others.
std::string temporaryNameBeside(const std::string& path);

// A name taken by chance is tried again with another; any more than this is
// no longer chance.
inline constexpr int kTemporaryNameAttempts = 16;

// "PATH: cannot be written (REASON)", the one way every platform says it.
Status notWritten(const std::string& path, const std::string& reason);

}  // namespace support
