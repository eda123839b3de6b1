// An independent reading of a profile response, made with RapidJSON directly,
// against which the fuzzers judge the parsers: which outcome the envelope must
// give, what it must log, and the document the snapshot must be filled from.
//
// The reading stays silent where its own view of acceptance could differ from
// the parsers' for reasons that are not faults: nesting near the depth bound
// (judged with a margin either side), and low surrogates in \u escapes,
// which RapidJSON lets through alone and the parsers refuse by a check of
// their own that is not repeated here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/json_document.h"
#include "data/profile_envelope.h"

using namespace tarvio;

namespace fuzz {

// Which envelope step decides a response.
enum class EnvelopeStep {
  ParseError,   // Retry, one note
  NotObject,    // Retry, nothing logged
  InvalidKey,   // Halt, one alert naming the service's message
  ServiceError, // Retry, one alert naming the "error" text
  NoTimestamp,  // Retry, nothing logged
  Snapshot,     // Parsed, nothing logged
};

struct ReferenceReading {
  // The document was read; `step` says what the envelope makes of it.
  bool read = false;
  // The parsers must reach `step`. When false and `read` is true, a parse
  // error is the only other outcome they may give.
  bool certain = false;
  EnvelopeStep step = EnvelopeStep::ParseError;
  // The "error" text up to its first NUL as the log shows it, for ServiceError.
  std::string errorText;
  JsonDocument document;

  bool surelyRefused() const { return certain && step == EnvelopeStep::ParseError; }
};

// Reads `text` (NUL-terminated) into `reading`.
void readReference(const char* text, ReferenceReading& reading);

ReadOutcome outcomeOf(EnvelopeStep step);

// Judges a reader's call by the reading: `leftAs(expectation, enforced)` says
// whether the call left what the expectation says, and when `enforced` ends
// the run at the first part that differs. Text surely refused must be refused;
// text the reading took must give `expected`, except that a refusal may stand
// in where the reading is unsure of acceptance.
template <class Expectation, class LeftAs>
void judgeByReading(const ReferenceReading& reading, const Expectation& refused,
                    const Expectation& expected, const LeftAs& leftAs) {
  if (reading.surelyRefused()) {
    leftAs(refused, true);
  } else if (reading.read && (reading.certain || !leftAs(refused, false))) {
    leftAs(expected, true);
  }
}

// Deepest nesting of arrays and objects in `text`, exact for valid JSON.
size_t nestingDepth(const char* text);

// Reads as the parsers' conventions say: the first member with the key, an
// element by index, a number as float; anything absent or of another kind
// reads as null, 0 or no elements. A number beyond the float range reads as
// NaN, the mark of an absent value.
const JsonValue& member(const JsonValue& object, const char* key);
const JsonValue& element(const JsonValue& array, size_t index);
size_t elementCount(const JsonValue& array);
float number(const JsonValue& value);
// A string's text up to its first NUL; "" for anything else.
std::string text(const JsonValue& value);
// The priors a profile must hold: `slots` cells per row, rows in order, filled
// from the row's priors array (at `priorsElement`); cells the row does not
// give are NaN and elements past `slots` are left out.
std::vector<float> priorsOf(const JsonValue& rows, size_t priorsElement, size_t slots);

// Text from outside as one log line must show it: tab, line feed and carriage
// return as \t, \n, \r; every other control byte, each byte that is not part
// of well-formed UTF-8, and the C1 controls (U+0080-U+009F) as \xHH. Whole
// characters are kept up to `limit` bytes of the text; what is left is
// counted in "... (N more bytes)".
std::string asLogged(const std::string& text, size_t limit = 300);

}  // namespace fuzz
