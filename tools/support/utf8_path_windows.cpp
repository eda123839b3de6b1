#include "tools/support/utf8_path.h"

#include <windows.h>

namespace support {

std::filesystem::path pathFromUtf8(const std::string& utf8) { return std::filesystem::path(widePath(utf8)); }

std::wstring widePath(const std::string& utf8) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring wide(units > 0 ? units - 1 : 0, L'\0');
  if (units > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), units);
  return wide;
}

std::string utf8Path(const std::wstring& wide) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace support
