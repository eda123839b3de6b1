#include "host/answer_status_note.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "host/message_log.h"

namespace chart_host {

namespace {

constexpr long kStatusOk = 200;

// The URL's path and query: what follows its scheme and host.
std::string pathOf(const std::string& url) {
  const std::size_t scheme = url.find("://");
  const std::size_t path = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  return path == std::string::npos ? "/" : url.substr(path);
}

// The bytes a quoted text cannot show as themselves, with their short escapes.
constexpr std::pair<char, const char*> kShortEscapes[] = {
    {'\n', "\\n"}, {'\r', "\\r"}, {'\t', "\\t"}, {'"', "\\\""}, {'\\', "\\\\"}};

void appendEscaped(std::string& text, const std::string& bytes) {
  for (const char c : bytes) {
    const auto* escape = std::find_if(std::begin(kShortEscapes), std::end(kShortEscapes),
                                      [c](const auto& entry) { return entry.first == c; });
    const auto byte = static_cast<unsigned char>(c);
    if (escape != std::end(kShortEscapes)) {
      text += escape->second;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      text += hex;
    } else {
      text += c;
    }
  }
}

}  // namespace

std::string answerStatusNote(const HttpAnswer& answer) {
  std::string note = std::string(kHostLineMark) + "the service answered HTTP " + std::to_string(answer.status) + " for ";
  appendEscaped(note, pathOf(answer.url));
  note += ": ";
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
