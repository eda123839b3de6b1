// Interrupts noted rather than obeyed at once: after noteInterrupts, an
// interrupt (Ctrl-C) or a request to terminate is kept for the program to
// see, so a run can end at its next step with its outputs written and its
// summary. A second one ends the program as usual. One file per platform.
#pragma once

namespace support {

// From now on, interrupts are noted. One a program was started to ignore
// (nohup) stays ignored.
void noteInterrupts();

// Whether one came since noteInterrupts. Safe from any thread.
bool interrupted();

}  // namespace support
