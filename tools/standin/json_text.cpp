#include "tools/standin/json_text.h"

#include <cmath>
#include <cstdio>

namespace standin {

namespace {

// Length of the valid UTF-8 sequence starting at `text[i]`, or 0 when the
// bytes there are not one (overlong forms and surrogates count as invalid).
size_t validUtf8Length(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length;
  unsigned int code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return 0;
  if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return 0;
  return length;
}

void appendEscapedByte(std::string& out, unsigned char byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
  out += buffer;
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const size_t length = validUtf8Length(text, i);
      if (length == 0) {
        appendEscapedByte(out, c);
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          appendEscapedByte(out, c);
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
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
  std::string_view text(buffer, static_cast<size_t>(written));
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

}  // namespace standin
