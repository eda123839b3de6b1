#include "study/study_log.h"

#include <cstdarg>
#include <cstdio>

#include "study/process_heap.h"

void logMessage(HostStudyInterface& sc, int32_t alert, const char* format, ...) {
  // Formatted once into a process-heap buffer, the form the host takes texts in.
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int count = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  HostString line{};
  if (count >= 0) {
    char* block = static_cast<char*>(processHeapAllocate(static_cast<std::size_t>(count) + 1));
    if (block != nullptr) {
      std::vsnprintf(block, static_cast<std::size_t>(count) + 1, format, args);
      line.text = block;
      line.length = static_cast<uint32_t>(count);
      line.owned = 1;
    }
  }
  va_end(args);
  sc.ops.HostAddMessageToLog(line, alert);
  releaseHostString(line);
}
