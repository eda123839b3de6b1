#include "study/loggable_text.h"

#include <cstdint>
#include <cstring>

namespace tarvio {

namespace {

// Length of the well-formed UTF-8 sequence of two or more bytes at `p` (at most
// `left` bytes available), or 0 when there is none. Overlong forms,
// surrogates and code points above U+10FFFF are not well formed.
std::size_t utf8SequenceLength(const unsigned char* p, std::size_t left) {
  const unsigned char lead = p[0];
  std::size_t length = 0;
  uint32_t lowest = 0;
  uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, lowest = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, lowest = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, lowest = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (length > left) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    code = (code << 6) | (p[i] & 0x3F);
  }
  if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void appendEscapedByte(std::string& out, unsigned char byte) {
  static const char kHex[] = "0123456789abcdef";
  switch (byte) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default:
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
  }
}

}  // namespace

std::string loggableText(const char* text, std::size_t limit) {
  if (text == nullptr) return {};
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const std::size_t size = std::strlen(text);
  std::string out;
  out.reserve(size < limit ? size : limit);
  std::size_t i = 0;
  while (i < size) {
    const unsigned char byte = bytes[i];
    if (byte >= 0x20 && byte < 0x7F) {
      if (i + 1 > limit) break;
      out += static_cast<char>(byte);
      ++i;
      continue;
    }
    const std::size_t sequence = byte >= 0x80 ? utf8SequenceLength(bytes + i, size - i) : 0;
    if (i + (sequence > 0 ? sequence : 1) > limit) break;
    // U+0080-U+009F (C2 80 .. C2 9F) are control characters too.
    const bool c1Control = sequence == 2 && byte == 0xC2 && bytes[i + 1] < 0xA0;
    if (sequence > 0 && !c1Control) {
      out.append(text + i, sequence);
      i += sequence;
    } else if (c1Control) {
      appendEscapedByte(out, byte);
      appendEscapedByte(out, bytes[i + 1]);
      i += 2;
    } else {
      appendEscapedByte(out, byte);
      ++i;
    }
  }
  if (i < size) out += "... (" + std::to_string(size - i) + " more bytes)";
  return out;
}

}  // namespace tarvio
