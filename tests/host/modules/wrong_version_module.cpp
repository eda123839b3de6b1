// A module built for an older host interface; its study function must never run.
#include <cstdlib>

#include "study/host_interface.h"

extern "C" {
const char* scdll_DLLName() { return "wrong_version"; }
int32_t scdll_DLLVersion() { return kHostInterfaceVersion - 1; }
void scsf_TarvioLevels(HostStudyInterface&) { std::abort(); }
}
