// The checksum an index line gives for its body, so a reader can tell a body
// file that is not the one the recorder wrote (cut, replaced, damaged).
// 64-bit FNV-1a: fast, dependency-free and plenty to catch accidents; it is
// no defence against someone forging a body on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace recording {

uint64_t fnv1a64(std::string_view bytes);

// "fnv1a64:" and the 16 lowercase hex digits of the checksum of `bytes`.
std::string checksumText(std::string_view bytes);

}  // namespace recording
