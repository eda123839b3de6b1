// Turns a response body into a JSON document under the acceptance rules every
// reader of the service relies on: strict JSON, the text ends at its first
// NUL, complete surrogate pairs in \u escapes, no byte-order mark, numbers
// beyond the double range refused, and nesting bounded so that a hostile body
// cannot exhaust the stack of the host's thread.
#pragma once

#include <rapidjson/document.h>

using JsonDocument = rapidjson::Document;
using JsonValue = rapidjson::Value;

// Deepest nesting of arrays and objects a response may have. The service's
// deepest answer nests three levels; 512 leaves room and keeps the recursive
// parse well inside a 1 MiB thread stack.
inline constexpr unsigned kMaxJsonNestingDepth = 512;

// Parses `text` (null reads as empty) into `document`. Returns false on any
// parse error; the document is then null.
bool parseResponseJson(const char* text, JsonDocument& document);
