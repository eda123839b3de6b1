// The one process heap that both sides of the host boundary allocate text
// buffers from, so that a buffer taken by the host can be released by the
// module and the reverse. One implementation file per platform.
// Thread-safe, as the underlying platform heap is.
#pragma once

#include <cstddef>

namespace tarvio {

// A zero-filled block of `size` bytes, or null when it cannot be had.
void* processHeapAllocate(std::size_t size);
// Returns a block from processHeapAllocate; null is ignored.
void processHeapFree(void* block);

}  // namespace tarvio
