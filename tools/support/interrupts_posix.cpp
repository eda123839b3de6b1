#include <signal.h>

#include <atomic>

#include "tools/support/interrupts.h"
#include "tools/support/started_program.h"

namespace support {

namespace {

std::atomic<bool> interruptCame{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

// The first is noted; a second ends the program as the signal does by
// default, taking with it the programs it started.
void noteInterrupt(int signal) {
  if (!interruptCame.exchange(true)) return;
  endStartedProgramsNow();
  ::signal(signal, SIG_DFL);
  raise(signal);
}

}  // namespace

void noteInterrupts() {
  struct sigaction action {};
  action.sa_handler = noteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

bool interrupted() { return interruptCame; }

}  // namespace support
