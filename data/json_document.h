// Turns a response body into a JSON document under the acceptance rules every
// reader of the service relies on: strict JSON, the text ends at its first
// NUL, complete surrogate pairs in \u escapes, no byte-order mark, numbers
// beyond the double range refused, and nesting bounded so that a hostile body
// cannot exhaust the stack of the host's thread.
#pragma once

#include <rapidjson/document.h>

#include <cstddef>

using JsonDocument = rapidjson::Document;
using JsonValue = rapidjson::Value;

// Deepest nesting of arrays and objects a response may have. The service's
// deepest answer nests three levels; 512 leaves room and keeps the recursive
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

// A document with its own pool of response-sized chunks.
class ResponseDocument : private ResponseDocumentPool, public JsonDocument {
 public:
  ResponseDocument() : JsonDocument(&pool) {}
  ResponseDocument(const ResponseDocument&) = delete;
  ResponseDocument& operator=(const ResponseDocument&) = delete;
};

// Parses `text` (null reads as empty) into `document`. Returns false on any
// parse error; the document is then null.
bool parseResponseJson(const char* text, JsonDocument& document);
