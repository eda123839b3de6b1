// The study's graphics callback: on every repaint it draws the selected
// profile family of the latest parsed snapshot as bars by strike with prior
// dots, through the host's graphics operations. It reads the snapshots and
// inputs only, keeps nothing and reports nothing.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

// The window handle and device context are the host's; every pixel goes
// through the operations in `sc`.
void drawProfileGraphics(void* windowHandle, void* deviceContext, HostStudyInterface& sc);

}  // namespace tarvio
