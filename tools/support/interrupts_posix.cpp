#include <signal.h>

#include <atomic>

#include "tools/support/interrupts.h"

namespace support {

namespace {

std::atomic<bool> interruptCame{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void noteInterrupt(int) { interruptCame = true; }

}  // namespace

void noteInterrupts() {
  struct sigaction action {};
  action.sa_handler = noteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second one ends the program as usual
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

bool interrupted() { return interruptCame; }

}  // namespace support
