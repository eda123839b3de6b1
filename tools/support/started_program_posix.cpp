#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/support/started_program.h"
#include "tools/support/system_error.h"

namespace support {

namespace {

constexpr const char* kNotThere = "cannot be found";

// Why the file at `path` may not be run, or empty when it may.
std::string unrunnable(const std::string& path) {
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return std::string(kNotThere) + " (" + lastSystemError() + ")";
  if (!S_ISREG(file.st_mode)) return "is not a regular file";
  if (access(path.c_str(), X_OK) != 0) return "may not be run by this user";
  return {};
}

// The inherited environment without the names `added` sets, then those.
std::vector<std::string> environmentWith(const ProgramEnvironment& added) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const char* equals = std::strchr(*entry, '=');
    const std::string name(*entry, equals ? static_cast<std::size_t>(equals - *entry) : std::strlen(*entry));
    bool replaced = false;
    for (const auto& [addedName, value] : added) replaced = replaced || addedName == name;
    if (!replaced) entries.emplace_back(*entry);
  }
  // A value is a C string here: a NUL would cut it short, so none is kept.
  for (const auto& [name, value] : added) {
    std::string entry = name + "=" + value;
    entry.erase(std::remove(entry.begin(), entry.end(), '\0'), entry.end());
    entries.push_back(std::move(entry));
  }
  return entries;
}

// The groups of programs started and not yet released, for a signal handler
// to end: a fixed table of lock-free slots, 0 when free. Far more slots than
// programs run at once.
constexpr std::size_t kGroupSlots = 64;
std::atomic<pid_t> liveGroups[kGroupSlots];
static_assert(std::atomic<pid_t>::is_always_lock_free, "read from a signal handler");

void trackGroup(pid_t group) {
  for (std::atomic<pid_t>& slot : liveGroups) {
    pid_t free = 0;
    if (slot.compare_exchange_strong(free, group)) return;
  }
}

// Before the leader is reaped: until then the group's id cannot be reused.
void untrackGroup(pid_t group) {
  for (std::atomic<pid_t>& slot : liveGroups) {
    pid_t held = group;
    if (slot.compare_exchange_strong(held, 0)) return;
  }
}

}  // namespace

Result<std::string> findProgram(const std::string& program) {
  if (program.empty()) return Status::failure("no program named");
  if (program.find('/') != std::string::npos) {
    const std::string why = unrunnable(program);
    if (why.empty()) return program;
    return Status::failure("'" + program + "' " + why);
  }
  // Without a PATH, the folders the system's own lookup would take.
  const char* path = std::getenv("PATH");
  const std::string folders = path ? path : "/bin:/usr/bin";
  std::string firstProblem;
  for (std::size_t start = 0; start <= folders.size();) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    // An empty entry is the current folder.
    const std::string folder = end == start ? "." : folders.substr(start, end - start);
    const std::string candidate = folder + "/" + program;
    const std::string why = unrunnable(candidate);
    if (why.empty()) return candidate;
    // A file of that name the user may not run is worth naming; one that is
    // not there is not.
    if (firstProblem.empty() && why.rfind(kNotThere, 0) != 0) firstProblem = "'" + candidate + "' " + why;
    start = end + 1;
  }
  if (!firstProblem.empty()) return Status::failure(firstProblem);
  return Status::failure("'" + program + "' is not on the PATH");
}

Result<StartedProgram> startProgram(const std::string& program, const std::string& argument,
                                    const ProgramEnvironment& environment) {
  std::string name = program;
  std::string text = argument;
  char* const arguments[] = {name.data(), text.data(), nullptr};
  std::vector<std::string> entries = environmentWith(environment);
  std::vector<char*> pointers;
  for (std::string& entry : entries) pointers.push_back(entry.data());
  pointers.push_back(nullptr);

  // A process group of its own, so that it can be ended with all it starts,
  // and an interrupt typed at the terminal reaches the run, not it.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t id = 0;
  // The child's exec failure (a missing or unrunnable program) comes back here.
  const int failure = posix_spawnp(&id, program.c_str(), nullptr, &attributes, arguments, pointers.data());
  posix_spawnattr_destroy(&attributes);
  if (failure != 0) return Status::failure(systemErrorText(static_cast<unsigned long>(failure)));
  trackGroup(id);
  return StartedProgram{id, id};
}

bool programEnded(StartedProgram& started) {
  const auto process = static_cast<pid_t>(started.process);
  siginfo_t ended{};
  // Looked at without reaping, so the group is let go while its id is still taken.
  if (waitid(P_PID, static_cast<id_t>(process), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == 0)
    return false;
  untrackGroup(static_cast<pid_t>(started.group));
  int status = 0;
  waitpid(process, &status, WNOHANG);
  return true;
}

void endProgram(StartedProgram& started) {
  // The group's id stays taken until the leader is reaped, so this reaches
  // its group and no other.
  kill(-static_cast<pid_t>(started.group), SIGKILL);
  untrackGroup(static_cast<pid_t>(started.group));
  int status = 0;
  while (waitpid(static_cast<pid_t>(started.process), &status, 0) < 0 && errno == EINTR) {
  }
}

void endStartedProgramsNow() {
  for (std::atomic<pid_t>& slot : liveGroups) {
    const pid_t group = slot.load();
    if (group > 0) kill(-group, SIGKILL);
  }
}

}  // namespace support
