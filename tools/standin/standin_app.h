// One run of the stand-in from parsed options: TLS identity, replay bodies
// and request record set up (any of them unusable: one line, exit 2), the
// server started, the ready line printed, then serving until SIGINT/SIGTERM
// or --max-seconds. Returns the process exit status.
#pragma once

#include "tools/standin/standin_options.h"

namespace standin {

inline constexpr int kExitClean = 0;
inline constexpr int kExitCannotServe = 1;
inline constexpr int kExitBadUsage = 2;

// Must be called before any other thread of the process starts: it blocks
// SIGINT and SIGTERM so that only the waiting loop receives them.
int runStandin(const StandinOptions& options);

// The whole program: parses `argc`/`argv`, prints help or the problem, runs.
int standinMain(int argc, char** argv);

}  // namespace standin
