// Process heap on POSIX systems: the C library heap, shared by every module
// of the process.
#include "study/process_heap.h"

#include <cstdlib>

namespace tarvio {

void* processHeapAllocate(std::size_t size) { return std::calloc(1, size == 0 ? 1 : size); }

void processHeapFree(void* block) { std::free(block); }

}  // namespace tarvio
