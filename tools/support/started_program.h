// Programs started and left to run: one is started without a shell (its
// one argument reaches it as it is, whatever characters it holds) and never
// waited for; the caller asks now and then whether it has ended, which
// releases what the system keeps of it, and lets go of one still running at
// the end. One file per platform. Not thread-safe for one program.
#pragma once

#include <cstdint>
#include <string>

#include "tools/support/result.h"

namespace support {

// A program started by startProgram: its process id or handle.
using StartedProgram = intptr_t;

// Starts `program` (a path, or a name looked up on the PATH) with `argument`
// as its one argument and returns at once. The system's reason when it
// cannot be started (a missing or unrunnable program).
Result<StartedProgram> startProgram(const std::string& program, const std::string& argument);

// Whether the program has ended; once it has, what the system kept of it is
// released (no zombie is left). Never waits.
bool programEnded(StartedProgram started);

// Lets go of a program still running; it carries on by itself.
void leaveProgram(StartedProgram started);

}  // namespace support
