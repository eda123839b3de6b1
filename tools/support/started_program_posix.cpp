#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tools/support/started_program.h"
#include "tools/support/system_error.h"

namespace support {

Result<StartedProgram> startProgram(const std::string& program, const std::string& argument) {
  std::string name = program;
  std::string text = argument;
  char* const arguments[] = {name.data(), text.data(), nullptr};
  pid_t id = 0;
  // The child's exec failure (a missing or unrunnable program) comes back here.
  const int failure = posix_spawnp(&id, program.c_str(), nullptr, nullptr, arguments, environ);
  if (failure != 0) return Status::failure(systemErrorText(static_cast<unsigned long>(failure)));
  return StartedProgram{id};
}

bool programEnded(StartedProgram started) {
  int status = 0;
  // The child's id once it has ended, -1 when there is nothing left to wait for.
  return waitpid(static_cast<pid_t>(started), &status, WNOHANG) != 0;
}

// A child left running is adopted by the system when this program ends.
void leaveProgram(StartedProgram) {}

}  // namespace support
