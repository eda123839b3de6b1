#include "host/answer_status_note.h"

#include <cstdio>

namespace chart_host {

namespace {

constexpr long kStatusOk = 200;

// The URL's path and query: what follows its scheme and host.
std::string pathOf(const std::string& url) {
  const std::size_t scheme = url.find("://");
  const std::size_t path = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  return path == std::string::npos ? "/" : url.substr(path);
}

void appendEscaped(std::string& text, const std::string& bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n': text += "\\n"; continue;
      case '\r': text += "\\r"; continue;
      case '\t': text += "\\t"; continue;
      case '"': text += "\\\""; continue;
      case '\\': text += "\\\\"; continue;
      default: break;
    }
    if (byte < 0x20 || byte >= 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      text += escaped;
    } else {
      text += c;
    }
  }
}

}  // namespace

std::string answerStatusNote(const HttpAnswer& answer) {
  std::string note = "Host: the service answered HTTP " + std::to_string(answer.status) + " for " +
                     pathOf(answer.url) + ": ";
  // An empty body reaches the study as a word of the host's, not as bytes.
  const std::string& body = answer.text;
  if (body.empty() || body == kEmptyBodyText) return note + "empty body";
  note += '"';
  appendEscaped(note, body.substr(0, kNotedBodyBytes));
  note += '"';
  if (body.size() > kNotedBodyBytes) note += " (+" + std::to_string(body.size() - kNotedBodyBytes) + " bytes not shown)";
  return note;
}

std::optional<std::string> AnswerStatusNotes::noteFor(const HttpAnswer& answer) {
  if (!answer.delivered || answer.status == lastStatus_) return std::nullopt;
  lastStatus_ = answer.status;
  if (answer.status == kStatusOk) return std::nullopt;
  return answerStatusNote(answer);
}

}  // namespace chart_host
