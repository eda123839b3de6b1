// What tarvio-chart needs of the system it runs on, one file per platform:
// where the module sits, whether messages go to a terminal, the HTTPS
// transport of the host, pictures, programs started on alerts, and replacing
// a file whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/http_transport.h"

namespace chart_tool {

using chart_host::HttpTransport;

struct ChartOptions;

// The module file built beside the program.
std::string moduleBesideProgram();

bool standardErrorIsTerminal();

// The host's transport for the study's requests, with the options' service
// mapping. False with a reason when the options ask for what this platform
// cannot do.
std::shared_ptr<HttpTransport> makeServiceTransport(const ChartOptions& options, std::string& error);

// Why this build cannot write pictures, or empty when it can.
std::string pictureUnavailableReason();

// A program started by startProgram: its process id or handle.
using StartedProgram = intptr_t;

// Starts `program` (a path, or a name looked up on the PATH) with `argument`
// as its one argument, without a shell, and returns at once without waiting
// for it. False with the system's reason when it cannot be started.
bool startProgram(const std::string& program, const std::string& argument, StartedProgram& started,
                  std::string& error);

// Whether the program has ended; once it has, what the system kept of it is
// released (no zombie is left). Never waits.
bool programEnded(StartedProgram started);

// Lets go of a program still running; it carries on by itself.
void leaveProgram(StartedProgram started);

// Renames `from` over `to` in one step, so a reader of `to` sees the old file
// or the new one, never a mix. Both must be in one folder. False with the
// system's reason.
bool replaceFile(const std::string& from, const std::string& to, std::string& error);

// From now on an interrupt (Ctrl-C) or a request to terminate does not end
// the program at once: it is noted, so a run can end at its next step with
// its outputs written and its summary. A second one ends the program.
void noteInterrupts();
// Whether one came since noteInterrupts. Safe from any thread.
bool interrupted();

}  // namespace chart_tool
