#include "study/study_log.h"

#include <cstdarg>

namespace tarvio {

void logMessage(HostStudyInterface& sc, int32_t alert, const char* format, ...) {
  HostString line{};
  va_list args;
  va_start(args, format);
  formatHostStringList(line, format, args);
  va_end(args);
  sc.ops.HostAddMessageToLog(line, alert);
  releaseHostString(line);
}

}  // namespace tarvio
