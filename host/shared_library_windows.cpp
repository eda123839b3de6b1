// Shared libraries on Windows, through LoadLibraryW. The path arrives as
// UTF-8 and is converted, so names outside the ANSI code page load too.
#include <windows.h>

#include <string>

#include "host/shared_library.h"

namespace chart_host {

namespace {

std::wstring widePath(const std::string& path) {
  if (path.empty()) return {};
  const int units = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  if (units < 1) return {};
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), units);
  wide.resize(static_cast<size_t>(units) - 1);
  return wide;
}

// The system's text for `error`, without its trailing line break.
std::string systemReason(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason = length > 0 && text != nullptr ? std::string(text, length) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) {
    reason.pop_back();
  }
  if (reason.empty()) reason = "unknown error";
  return reason + " (error " + std::to_string(error) + ")";
}

}  // namespace

std::unique_ptr<SharedLibrary> SharedLibrary::open(const std::string& path, std::string& error) {
  const std::wstring wide = widePath(path);
  // No error dialog box for a file that is not a module.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE handle = wide.empty() ? nullptr : LoadLibraryW(wide.c_str());
  const DWORD loadError = wide.empty() ? ERROR_INVALID_NAME : GetLastError();
  SetErrorMode(previousMode);
  if (handle == nullptr) {
    error = "cannot load module '" + path + "': " + systemReason(loadError);
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* SharedLibrary::symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace chart_host
