// File names in UTF-8 on every platform: the programs take and keep paths as
// UTF-8 text, and this is the one place that turns such a text into what the
// system's file functions take (the same bytes on POSIX, UTF-16 on Windows).
// A byte that is not UTF-8 becomes U+FFFD rather than failing or throwing.
#pragma once

#include <filesystem>
#include <string>

namespace support {

// The path named by a UTF-8 text, for the standard library's file functions.
std::filesystem::path pathFromUtf8(const std::string& utf8);

// Windows only: the UTF-16 form of a UTF-8 path, for the system's W functions,
// and back.
std::wstring widePath(const std::string& utf8);
std::string utf8Path(const std::wstring& wide);

}  // namespace support
