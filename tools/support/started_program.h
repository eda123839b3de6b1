// Programs started and left to run: one is found before it is first needed,
// started without a shell (its one argument reaches it as it is, whatever
// characters it holds) in a group of its own with everything it starts (a
// process group on POSIX, a job on Windows) and never waited for; the caller
// asks now and then whether it has ended, which releases what the system
// keeps of it, and ends one still running, with its whole group, when it
// may run no longer. One file per platform. Not thread-safe for one program.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/support/result.h"

namespace support {

// A program started by startProgram: its process (id or handle) and the
// group it was started in (process group id, or job handle).
struct StartedProgram {
  intptr_t process = 0;
  intptr_t group = 0;
};

// Names and values added to a started program's environment, in place of
// any of the same name it would inherit.
using ProgramEnvironment = std::vector<std::pair<std::string, std::string>>;

// The file startProgram would run for `program`: a name with a directory in
// it names the file itself, a bare name is looked for in each folder of the
// PATH in turn (on Windows also with each extension of PATHEXT). Fails with
// one line ("'notify' is not on the PATH", "'/tmp' is not a regular file",
// "'./a.sh' may not be run by this user") when none is found that the user
// may run.
Result<std::string> findProgram(const std::string& program);

// Starts `program` (a path, or a name looked up on the PATH) with `argument`
// as its one argument and `environment` added to its environment, and
// returns at once. The system's reason when it cannot be started. On Windows
// a batch file (.bat, .cmd) is started through cmd.exe without the argument:
// cmd.exe would read characters of it as commands; it has the environment.
Result<StartedProgram> startProgram(const std::string& program, const std::string& argument,
                                    const ProgramEnvironment& environment = {});

// Whether the program itself has ended; once it has, what the system kept of
// it is released (no zombie is left). Never waits. What it left running in
// its group carries on (POSIX) or ends with it (Windows, whose job closes).
bool programEnded(StartedProgram& started);

// Ends the program and everything in its group at once, and releases it.
void endProgram(StartedProgram& started);

// Ends at once every program started and not yet released, with its group,
// when this program is about to end without its own orderly end (a second
// interrupt). Safe in a signal handler. Nothing to do on Windows, where each
// job ends when this program's handle to it closes.
void endStartedProgramsNow();

}  // namespace support
