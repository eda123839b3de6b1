// Process heap on Windows: the heap GetProcessHeap returns is the same for the
// host program and every DLL it loads, whatever C runtime each was built with.
#include "study/process_heap.h"

#include <windows.h>

namespace tarvio {

void* processHeapAllocate(std::size_t size) {
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size == 0 ? 1 : size);
}

void processHeapFree(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace tarvio
