#include <windows.h>

#include <atomic>

#include "tools/support/interrupts.h"

namespace support {

namespace {

std::atomic<bool> interruptCame{false};

BOOL WINAPI noteInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  // The second one ends the program as usual.
  if (interruptCame.exchange(true)) return FALSE;
  return TRUE;
}

}  // namespace

void noteInterrupts() { SetConsoleCtrlHandler(noteInterrupt, TRUE); }

bool interrupted() { return interruptCame; }

}  // namespace support
