// Turns a response body into a JSON document under the acceptance rules every
// reader of the service relies on: strict JSON, the text ends at its first
// NUL, complete surrogate pairs in \u escapes, no byte-order mark, numbers
// beyond the double range refused, and nesting bounded so that a hostile body
// cannot exhaust the stack of the host's thread.
#pragma once

#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarvio {

using JsonDocument = rapidjson::Document;
using JsonValue = rapidjson::Value;

// Deepest nesting of arrays and objects a response may have. The service's
// deepest answer nests four levels; 512 leaves room and keeps the recursive
// parse well inside a 1 MiB thread stack.
inline constexpr unsigned kMaxJsonNestingDepth = 512;

// Pool chunk size of a response document. A number costs 16 bytes of document
// against about ten of text, so the unused tail of the last chunk is what
// decides how far a large answer's memory exceeds that; small chunks keep the
// tail small at the price of a few more allocations.
inline constexpr size_t kResponseDocumentChunkBytes = 16 * 1024;

struct ResponseDocumentPool {
  rapidjson::MemoryPoolAllocator<> pool{kResponseDocumentChunkBytes};
};

// True when decoded string bytes may come from an escaped lone low surrogate
// (ED B0..BF); raw bytes can spell the same, so a hit asks for a closer look.
bool mayHoldLowSurrogate(const char* str, rapidjson::SizeType length);

// A document with its own pool of response-sized chunks. It is also the
// handler the parser feeds: each event is checked on its way into the
// document, so the parse stops at the first value the rules refuse.
class ResponseDocument : private ResponseDocumentPool, public JsonDocument {
 public:
  ResponseDocument() : JsonDocument(&pool) {}
  ResponseDocument(const ResponseDocument&) = delete;
  ResponseDocument& operator=(const ResponseDocument&) = delete;

  // Parse events. An infinity comes from a literal beyond the double range; it
  // is the only double with every exponent bit set, since no literal gives a
  // NaN. Tested on the bits: this runs for every number that is not a plain
  // integer.
  bool Double(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    if ((bits << 1) >= kInfinityBitsShifted) [[unlikely]] return false;
    return JsonDocument::Double(d);
  }
  bool String(const char* str, rapidjson::SizeType length, bool copy) {
    noteString(str, length);
    return JsonDocument::String(str, length, copy);
  }
  bool Key(const char* str, rapidjson::SizeType length, bool copy) {
    noteString(str, length);
    return JsonDocument::Key(str, length, copy);
  }
  bool StartObject() { return enter() && JsonDocument::StartObject(); }
  bool EndObject(rapidjson::SizeType count) { --depth_; return JsonDocument::EndObject(count); }
  bool StartArray() { return enter() && JsonDocument::StartArray(); }
  bool EndArray(rapidjson::SizeType count) { --depth_; return JsonDocument::EndArray(count); }

 private:
  friend bool parseResponseJson(const char* text, ResponseDocument& document);

  static constexpr uint64_t kInfinityBitsShifted = 0x7FF0000000000000ULL << 1;

  bool enter() { return ++depth_ <= kMaxJsonNestingDepth; }
  void noteString(const char* str, rapidjson::SizeType length) {
    if (!suspectSurrogate_ && mayHoldLowSurrogate(str, length)) suspectSurrogate_ = true;
  }

  unsigned depth_ = 0;
  bool suspectSurrogate_ = false;
};

// Parses `text` (null reads as empty) into `document`. Returns false on any
// parse error; the document is then null.
bool parseResponseJson(const char* text, ResponseDocument& document);

}  // namespace tarvio
