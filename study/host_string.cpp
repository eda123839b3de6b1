// HostString assignment and formatting. Every buffer comes from the process
// heap, so a value may be released on either side of the boundary.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "study/host_interface.h"
#include "study/process_heap.h"

namespace {

// Longest text a value may hold; the block is one byte longer.
constexpr std::size_t kMaxHostStringLength = 0x7FFFFFFE;

void dropBuffer(HostString& value) {
  if (value.owned != 0 && value.text != nullptr) tarvio::processHeapFree(value.text);
  value.text = nullptr;
  value.length = 0;
  value.owned = 0;
}

}  // namespace

void releaseHostString(HostString& value) { dropBuffer(value); }

void assignHostString(HostString& target, const char* text) {
  const bool targetEmpty = target.text == nullptr || target.text[0] == '\0';
  if (text == nullptr || text[0] == '\0') {
    if (targetEmpty) return;
    dropBuffer(target);
    target.changed = 1;
    return;
  }
  // Copy before releasing: the text may live inside the target's own buffer.
  std::size_t length = std::strlen(text);
  if (length > kMaxHostStringLength) length = kMaxHostStringLength;
  char* block = static_cast<char*>(tarvio::processHeapAllocate(length + 1));
  if (block != nullptr) std::memcpy(block, text, length);
  dropBuffer(target);
  target.changed = 1;
  if (block == nullptr) return;
  target.text = block;
  target.length = static_cast<uint32_t>(length);
  target.owned = 1;
}

void assignHostString(HostString& target, const HostString& source) {
  if (&target == &source) return;
  assignHostString(target, source.text);
}

void formatHostStringList(HostString& target, const char* format, va_list args) {
  // The old buffer is dropped only after formatting, since an argument may
  // point into it; every failure still leaves the target empty.
  char* block = nullptr;
  int count = -1;
  if (format != nullptr) {
    // Most texts (messages, URLs, headers) are short: formatted once on the
    // stack and copied, they need a single formatting pass instead of two.
    char shortText[256];
    va_list measure;
    va_copy(measure, args);
    count = std::vsnprintf(shortText, sizeof shortText, format, measure);
    va_end(measure);
    if (count >= 0 && static_cast<std::size_t>(count) <= kMaxHostStringLength) {
      const std::size_t size = static_cast<std::size_t>(count) + 1;
      block = static_cast<char*>(tarvio::processHeapAllocate(size));
      if (block != nullptr && size <= sizeof shortText) {
        std::memcpy(block, shortText, size);
      } else if (block != nullptr) {
        std::vsnprintf(block, size, format, args);
      }
    }
  }
  dropBuffer(target);
  if (block == nullptr) return;
  target.text = block;
  target.length = static_cast<uint32_t>(count);
  target.owned = 1;
}

void formatHostString(HostString& target, const char* format, ...) {
  va_list args;
  va_start(args, format);
  formatHostStringList(target, format, args);
  va_end(args);
}
