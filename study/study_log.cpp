#include "study/study_log.h"

#include <cstdarg>

#include "study/host_calls.h"
#include "study/scoped_release.h"

namespace tarvio {

void logMessage(HostStudyInterface& sc, int32_t alert, const char* format, ...) {
  HostString line{};
  const ScopedRelease releaseLine(line);
  va_list args;
  va_start(args, format);
  formatHostStringList(line, format, args);
  va_end(args);
  HostCalls(sc).addMessageToLog(line, alert);
}

}  // namespace tarvio
