#include "tools/support/json_text.h"

#include <cmath>
#include <cstdint>
#include <charconv>
#include <cstdio>

#include "tools/support/utf8_text.h"

namespace support {

namespace {

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

std::string jsonFloat(float value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  std::string out(text, written.ptr);
  if (out == "-0") out = "0";
  return out;
}

}  // namespace support
