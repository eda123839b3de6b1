// The host's own note of an answer whose HTTP status the study cannot see.
// The study reads only the body, so a refusal, a server error or a redirect
// shows in its log as a body it cannot read; the host writes the status
// beside it, marked as the host's ("Host: ..."), with the request's path and
// the first bytes of the body. Never a header: the API key travels in one.
// Not thread-safe; one per study instance.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "host/http_facility.h"

namespace chart_host {

// How much of the body a note shows.
constexpr std::size_t kNotedBodyBytes = 120;

// "Host: the service answered HTTP 500 for /v2/...: "Internal Server Error\n""
// for a delivered answer: the URL's path and query, and at most
// kNotedBodyBytes of the body, quoted, and the number of bytes left out.
// Control bytes, quotes and bytes beyond ASCII are escaped in both (so the
// note stays one line and a cut never splits a character).
std::string answerStatusNote(const HttpAnswer& answer);

// Notes each change of status once: a run of 500s is noted once, a 401 after
// them again; a 200 ends the run, so a later 500 is noted again. A failed
// transfer changes nothing (the study reports those itself).
class AnswerStatusNotes {
 public:
  // The note `answer` calls for, if any.
  std::optional<std::string> noteFor(const HttpAnswer& answer);

 private:
  long lastStatus_ = 200;
};

}  // namespace chart_host
