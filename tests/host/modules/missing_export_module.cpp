// A module that answers the queries but has no study function.
#include "study/host_interface.h"

extern "C" {
const char* scdll_DLLName() { return "missing_export"; }
int32_t scdll_DLLVersion() { return kHostInterfaceVersion; }
}
