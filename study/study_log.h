// Lines for the host's message log, formatted printf-style. Alert 1 marks a
// line the user must notice, 0 a note.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

inline constexpr int32_t kLogAlert = 1;
inline constexpr int32_t kLogNote = 0;

void logMessage(HostStudyInterface& sc, int32_t alert, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

}  // namespace tarvio
