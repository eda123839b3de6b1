#include "tools/recording/bars_text.h"

#include <charconv>
#include <cstdlib>

#include "tools/support/date_time_text.h"

namespace recording {

namespace {

// The shortest text that reads back to `value` through a double, as bar
// files are read; a float's shortest text may miss by double rounding, and
// then the double's own shortest text (exact) is written instead.
std::string numberText(float value) {
  char text[64];
  const auto [end, failed] = std::to_chars(text, text + sizeof text - 1, value);
  *end = '\0';
  if (failed == std::errc() && static_cast<float>(std::strtod(text, nullptr)) == value) return std::string(text, end);
  const auto exact = std::to_chars(text, text + sizeof text, static_cast<double>(value));
  return std::string(text, exact.ptr);
}

}  // namespace

std::optional<std::string> barsCsvText(const std::vector<RecordedBar>& bars) {
  std::string text = "datetime,open,high,low,close,volume\n";
  for (const RecordedBar& bar : bars) {
    std::optional<std::string> when = support::formatExactDateTime(bar.dateTime);
    if (!when) return std::nullopt;
    // Whole seconds as bar files usually have them; a fraction only when there is one.
    if (bar.dateTime % kMicrosecondsPerSecond == 0) when->resize(when->size() - 7);
    text += *when;
    for (const float value : {bar.open, bar.high, bar.low, bar.close, bar.volume}) {
      text += ',';
      text += numberText(value);
    }
    text += '\n';
  }
  return text;
}

}  // namespace recording
