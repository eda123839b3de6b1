#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

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

std::wstring lowered(std::wstring text) {
  for (wchar_t& unit : text) unit = static_cast<wchar_t>(std::towlower(unit));
  return text;
}

// The extension of the file a path names, lower-cased with its dot; empty
// when it has none.
std::wstring extensionOf(const std::wstring& path) {
  const std::size_t dot = path.find_last_of(L'.');
  const std::size_t folder = path.find_last_of(L"\\/:");
  if (dot == std::wstring::npos || (folder != std::wstring::npos && dot < folder)) return {};
  return lowered(path.substr(dot));
}

bool isBatchFile(const std::wstring& path) {
  const std::wstring extension = extensionOf(path);
  return extension == L".bat" || extension == L".cmd";
}

// The extensions a bare name is tried with, lower-cased, from PATHEXT.
std::vector<std::wstring> programExtensions() {
  wchar_t value[4096];
  const DWORD length = GetEnvironmentVariableW(L"PATHEXT", value, 4096);
  const std::wstring list = length > 0 && length < 4096 ? std::wstring(value, length) : L".COM;.EXE;.BAT;.CMD";
  std::vector<std::wstring> extensions;
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = list.find(L';', start);
    if (end == std::wstring::npos) end = list.size();
    if (end > start) extensions.push_back(lowered(list.substr(start, end - start)));
    start = end + 1;
  }
  return extensions;
}

constexpr const char* kNotThere = "cannot be found";

std::string quoted(const std::string& text) {
  std::string quoted(1, '\'');
  quoted.append(text);
  quoted.push_back('\'');
  return quoted;
}

// Why the file at `path` may not be run, or empty when it may: only
// programs and batch files can be started.
std::string unrunnable(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::string(kNotThere) + " (" + lastSystemError() + ")";
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return "is not a regular file";
  const std::wstring extension = extensionOf(path);
  if (extension != L".exe" && extension != L".com" && !isBatchFile(path))
    return "is not a program (.exe, .com) or batch file (.bat, .cmd)";
  return {};
}

// The file `candidate` names, or with one of `extensions` added when it has
// none of them; empty when none may be run, with the first problem of a file
// that is there in `problem`.
std::wstring runnableAs(const std::wstring& candidate, const std::vector<std::wstring>& extensions,
                        std::string& problem) {
  // A name with an extension is tried as it is first, so that a file of
  // another kind is told as what it is; one with none of PATHEXT's is tried
  // with each of them too.
  std::vector<std::wstring> tries;
  const std::wstring extension = extensionOf(candidate);
  bool known = false;
  for (const std::wstring& each : extensions) known = known || each == extension;
  if (!extension.empty()) tries.push_back(candidate);
  if (!known)
    for (const std::wstring& each : extensions) tries.push_back(candidate + each);
  for (const std::wstring& path : tries) {
    const std::string why = unrunnable(path);
    if (why.empty()) return path;
    if (problem.empty() && why.rfind(kNotThere, 0) != 0) problem = quoted(utf8Path(path)) + " " + why;
  }
  return {};
}

// The inherited environment without the names `added` sets (names compare
// without case), then those, as CreateProcessW takes it.
std::wstring environmentWith(const ProgramEnvironment& added) {
  std::vector<std::wstring> names;
  for (const auto& [name, value] : added) names.push_back(lowered(widePath(name)));
  std::wstring block;
  if (wchar_t* inherited = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = inherited; *entry != L'\0'; entry += wcslen(entry) + 1) {
      const std::wstring text(entry);
      // Entries such as "=C:=C:\..." have a name that begins with '='.
      const std::size_t equals = text.find(L'=', 1);
      const std::wstring name = lowered(text.substr(0, equals));
      bool replaced = false;
      for (const std::wstring& addedName : names) replaced = replaced || addedName == name;
      if (!replaced) block += text + L'\0';
    }
    FreeEnvironmentStringsW(inherited);
  }
  for (const auto& [name, value] : added) {
    std::wstring entry = widePath(name) + L"=" + widePath(value);
    std::erase(entry, L'\0');
    block += entry + L'\0';
  }
  return block + L'\0';
}

// A job that ends every process in it when its last handle closes.
HANDLE killingJob() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    return nullptr;
  }
  return job;
}

// The command interpreter, for batch files.
std::wstring commandInterpreter() {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"ComSpec", value, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(value, length);
  return L"C:\\Windows\\System32\\cmd.exe";
}

}  // namespace

Result<std::string> findProgram(const std::string& program) {
  if (program.empty()) return Status::failure("no program named");
  const std::wstring wide = widePath(program);
  const std::vector<std::wstring> extensions = programExtensions();
  std::string problem;
  if (wide.find_first_of(L"\\/:") != std::wstring::npos) {
    const std::wstring found = runnableAs(wide, extensions, problem);
    if (!found.empty()) return utf8Path(found);
    return Status::failure(problem.empty() ? quoted(program) + " " + kNotThere : problem);
  }
  wchar_t value[32768];
  const DWORD length = GetEnvironmentVariableW(L"PATH", value, 32768);
  const std::wstring folders = length > 0 && length < 32768 ? std::wstring(value, length) : std::wstring();
  for (std::size_t start = 0; start < folders.size();) {
    std::size_t end = folders.find(L';', start);
    if (end == std::wstring::npos) end = folders.size();
    std::wstring folder = folders.substr(start, end - start);
    std::erase(folder, L'"');
    start = end + 1;
    if (folder.empty()) continue;
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    const std::wstring found = runnableAs(folder + wide, extensions, problem);
    if (!found.empty()) return utf8Path(found);
  }
  return Status::failure(problem.empty() ? quoted(program) + " is not on the PATH" : problem);
}

Result<StartedProgram> startProgram(const std::string& program, const std::string& argument,
                                    const ProgramEnvironment& environment) {
  const std::wstring path = widePath(program);
  std::wstring application;
  std::wstring commandLine;
  if (isBatchFile(path)) {
    application = commandInterpreter();
    commandLine = L"cmd.exe /d /s /c \"" + quotedArgument(path) + L"\"";
  } else {
    // The argument is text, not a path, but it crosses into UTF-16 the same way.
    commandLine = quotedArgument(path) + L" " + quotedArgument(widePath(argument));
  }
  std::wstring block = environmentWith(environment);
  HANDLE job = killingJob();
  if (job == nullptr) return Status::failure(lastSystemError());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Suspended until it is in its job, so nothing it starts escapes the job.
  if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), commandLine.data(), nullptr, nullptr,
                      FALSE, CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup,
                      &process)) {
    const std::string why = lastSystemError();
    CloseHandle(job);
    return Status::failure(why);
  }
  if (!AssignProcessToJobObject(job, process.hProcess)) {
    const std::string why = lastSystemError();
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    return Status::failure(why);
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  return StartedProgram{reinterpret_cast<intptr_t>(process.hProcess), reinterpret_cast<intptr_t>(job)};
}

bool programEnded(StartedProgram& started) {
  const HANDLE process = reinterpret_cast<HANDLE>(started.process);
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) return false;
  CloseHandle(process);
  CloseHandle(reinterpret_cast<HANDLE>(started.group));
  return true;
}

void endProgram(StartedProgram& started) {
  const HANDLE process = reinterpret_cast<HANDLE>(started.process);
  TerminateJobObject(reinterpret_cast<HANDLE>(started.group), 1);
  WaitForSingleObject(process, 2000);
  CloseHandle(process);
  CloseHandle(reinterpret_cast<HANDLE>(started.group));
}

// Each job is made to end its processes when its last handle closes, which
// the system does as this program ends.
void endStartedProgramsNow() {}

}  // namespace support
