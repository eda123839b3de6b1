// Calls as the chart program observes them, for the tests of the service's
// record and of what is made of it: a morning clock, the answers the
// service's requests come back with, and the study's messages on a call.
#pragma once

#include <string>
#include <vector>

#include "support/minute_bars.h"
#include "tools/chart/run/service_record.h"

namespace observed_calls {

using chart_host::HttpAnswer;
using chart_host::LogLine;
using chart_tool::run::ObservedCall;

constexpr const char* kProfileUrl = "https://api.tarvio.com/v2/sierra/ES_SPX/classic/gex_full";
constexpr const char* kHistoryUrl = "https://api.tarvio.com/v2/sierra/hist/ES_SPX/classic/gex_full/majors/7";
constexpr const char* kParseError = "GEX Profile json parse error. Retrying.";
constexpr const char* kInvalidKey = "Tarvio API Error: ERROR: Invalid API Key. Halting requests.";

// 10:15:00 plus `seconds` on Monday 2026-03-02.
inline HostDateTime at(int seconds) { return atTimeOfDay(kMonday2026_03_02, 10, 15, 0) + seconds * kMicrosecondsPerSecond; }

inline HttpAnswer delivered(long status, const char* url = kProfileUrl) {
  HttpAnswer answer;
  answer.url = url;
  answer.delivered = true;
  answer.status = status;
  return answer;
}

inline HttpAnswer failed(const char* reason) {
  HttpAnswer answer;
  answer.url = kProfileUrl;
  answer.error = reason;
  return answer;
}

inline LogLine alert(const std::string& text) { return LogLine{text, true}; }
inline LogLine note(const std::string& text) { return LogLine{text, false}; }

// A call in the window, not halted, at the default interval of 5 s.
inline ObservedCall call(int seconds, std::optional<HttpAnswer> answer = std::nullopt,
                         std::vector<LogLine> lines = {}) {
  ObservedCall observed;
  observed.now = at(seconds);
  observed.answer = std::move(answer);
  observed.lines = std::move(lines);
  observed.windowOpen = true;
  return observed;
}

}  // namespace observed_calls
