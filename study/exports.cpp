// The module's three entry points, the only symbols it exports. Nothing is
// thrown across them: the study reports to the host's log and returns.
#include "study/host_interface.h"
#include "study/study_function.h"

#ifndef TARVIO_EXPORT
#define TARVIO_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

TARVIO_EXPORT const char* scdll_DLLName() { return "tarvio_v4_graphics"; }

TARVIO_EXPORT int32_t scdll_DLLVersion() { return kHostInterfaceVersion; }

// The study function itself lets nothing escape (see study_function.h).
TARVIO_EXPORT void scsf_TarvioLevels(HostStudyInterface& sc) { tarvio::runStudyFunction(sc); }
}
