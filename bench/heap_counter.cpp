// The forwards replace the C library's entry points for the whole process
// (the C library supports this), so they must stay visible to the shared
// libraries despite the project's hidden default visibility.
#include "bench/heap_counter.h"

#include <malloc.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void __libc_free(void* block);
void* __libc_memalign(size_t alignment, size_t size);
void* __libc_valloc(size_t size);
void* __libc_pvalloc(size_t size);
}

namespace {

bool counting = false;
// Signed: a count may free blocks taken before it started.
int64_t liveBytes = 0;
int64_t peakBytes = 0;

void counted(void* block) {
  if (!counting || block == nullptr) return;
  liveBytes += static_cast<int64_t>(malloc_usable_size(block));
  peakBytes = std::max(peakBytes, liveBytes);
}

void uncounted(void* block) {
  if (!counting || block == nullptr) return;
  liveBytes -= static_cast<int64_t>(malloc_usable_size(block));
}

}  // namespace

void startHeapCount() {
  liveBytes = 0;
  peakBytes = 0;
  counting = true;
}

std::size_t stopHeapCount() {
  counting = false;
  return static_cast<std::size_t>(peakBytes);
}

#define HEAP_FORWARD extern "C" __attribute__((visibility("default")))

HEAP_FORWARD void* malloc(size_t size) noexcept {
  void* block = __libc_malloc(size);
  counted(block);
  return block;
}

HEAP_FORWARD void* calloc(size_t count, size_t size) noexcept {
  void* block = __libc_calloc(count, size);
  counted(block);
  return block;
}

HEAP_FORWARD void* realloc(void* block, size_t size) noexcept {
  const int64_t before = counting && block != nullptr
                             ? static_cast<int64_t>(malloc_usable_size(block))
                             : 0;
  void* moved = __libc_realloc(block, size);
  // A failed resize keeps the old block; a resize to 0 frees it.
  if (moved == nullptr && size != 0) return nullptr;
  if (counting) {
    liveBytes -= before;
    counted(moved);
  }
  return moved;
}

HEAP_FORWARD void free(void* block) noexcept {
  uncounted(block);
  __libc_free(block);
}

HEAP_FORWARD void* memalign(size_t alignment, size_t size) noexcept {
  void* block = __libc_memalign(alignment, size);
  counted(block);
  return block;
}

HEAP_FORWARD void* aligned_alloc(size_t alignment, size_t size) noexcept {
  return memalign(alignment, size);
}

HEAP_FORWARD int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
  void* block = memalign(alignment, size);
  if (block == nullptr) return ENOMEM;
  *out = block;
  return 0;
}

HEAP_FORWARD void* valloc(size_t size) noexcept {
  void* block = __libc_valloc(size);
  counted(block);
  return block;
}

HEAP_FORWARD void* pvalloc(size_t size) noexcept {
  void* block = __libc_pvalloc(size);
  counted(block);
  return block;
}
