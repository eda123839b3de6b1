#include <windows.h>

#include "tools/support/started_program.h"
#include "tools/support/system_error.h"
#include "tools/support/utf8_path.h"

namespace support {

namespace {

// One argument in quotes, as the C runtime splits a command line back into
// arguments: a quote gets a backslash, and backslashes before a quote (or
// the closing one) are doubled.
std::wstring quotedArgument(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t unit : argument) {
    if (unit == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(unit == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(unit);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

}  // namespace

Result<StartedProgram> startProgram(const std::string& program, const std::string& argument) {
  // The argument is text, not a path, but it crosses into UTF-16 the same way.
  std::wstring commandLine = quotedArgument(widePath(program)) + L" " + quotedArgument(widePath(argument));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return Status::failure(lastSystemError());
  CloseHandle(process.hThread);
  return reinterpret_cast<StartedProgram>(process.hProcess);
}

bool programEnded(StartedProgram started) {
  const HANDLE process = reinterpret_cast<HANDLE>(started);
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) return false;
  CloseHandle(process);
  return true;
}

void leaveProgram(StartedProgram started) { CloseHandle(reinterpret_cast<HANDLE>(started)); }

}  // namespace support
