#include "study/symbol_text.h"

#include <cstring>
#include <string>

namespace tarvio {

namespace {

bool isStrippedByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

char upperCaseAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void normaliseSymbolText(HostString& target, const char* text, const char* fallbackWhenEmpty) {
  const char* begin = text != nullptr ? text : "";
  const char* end = begin + std::strlen(begin);
  while (begin < end && isStrippedByte(*begin)) ++begin;
  while (end > begin && isStrippedByte(end[-1])) --end;
  std::string normalised(begin, end);
  for (char& c : normalised) c = upperCaseAscii(c);
  if (normalised.empty() && fallbackWhenEmpty != nullptr) normalised = fallbackWhenEmpty;
  assignHostString(target, normalised.c_str());
}

bool symbolFitsRequest(const char* symbol) {
  for (const char* p = symbol != nullptr ? symbol : ""; *p != '\0'; ++p) {
    const char c = *p;
    const bool letterOrDigit =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '_' && c != '.' && c != '-' && c != '^') return false;
  }
  return true;
}

bool apiKeyFitsRequest(const char* key) {
  for (const char* p = key != nullptr ? key : ""; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

}  // namespace tarvio
