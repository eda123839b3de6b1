#include "tools/recording/checksum.h"

#include <cstdio>

namespace recording {

uint64_t fnv1a64(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string checksumText(std::string_view bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "fnv1a64:%016llx", static_cast<unsigned long long>(fnv1a64(bytes)));
  return text;
}

}  // namespace recording
