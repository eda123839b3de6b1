#include "tools/support/json_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace support {

namespace {

// Length of the well-formed UTF-8 sequence of two or more bytes at text[at],
// or 0 when there is none (overlong forms, surrogates and code points above
// U+10FFFF are not well formed).
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(at);
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
  if (at + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + k) & 0x3F);
  }
  if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

constexpr char kHexDigits[] = "0123456789abcdef";

void appendControlEscape(std::string& out, unsigned char byte) {
  switch (byte) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    default:
      out += "\\u00";
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0x0F];
  }
}

// The text \xhh, its backslash escaped as JSON needs.
void appendForeignByte(std::string& out, unsigned char byte) {
  out += "\\\\x";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0x0F];
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  std::size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x80) {
      const std::size_t length = utf8SequenceLength(text, at);
      if (length == 0) appendForeignByte(out, byte);
      if (length != 0) out.append(text.substr(at, length));
      at += length == 0 ? 1 : length;
      continue;
    }
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
    } else if (byte < 0x20 || byte == 0x7F) {
      appendControlEscape(out, byte);
    } else {
      out += static_cast<char>(byte);
    }
    ++at;
  }
  out += '"';
}

std::string jsonString(std::string_view text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

void appendJsonNumber(std::string& out, double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  char buffer[64];
  int written = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  if (written <= 0 || written >= static_cast<int>(sizeof buffer)) {
    // Beyond what a fixed buffer holds: the exponent form is still JSON.
    written = std::snprintf(buffer, sizeof buffer, "%.17g", value);
  }
  std::string_view text(buffer, static_cast<std::size_t>(written));
  if (text.find('.') != std::string_view::npos && text.find('e') == std::string_view::npos) {
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
  }
  if (text == "-0") text = "0";
  out.append(text);
}

std::string jsonNumber(double value, int decimals) {
  std::string out;
  appendJsonNumber(out, value, decimals);
  return out;
}

}  // namespace support
