#include "tools/support/bar_csv.h"

#include <charconv>
#include <cstdlib>

#include "tools/support/date_time_text.h"

namespace support {

namespace {

// The shortest text that reads back to `value` through a double; a float's
// shortest text may miss by double rounding, and then the double's own
// shortest text (exact) is written instead.
std::string barNumberText(float value) {
  char text[64];
  const auto [end, failed] = std::to_chars(text, text + sizeof text - 1, value);
  *end = '\0';
  if (failed == std::errc() && static_cast<float>(std::strtod(text, nullptr)) == value) return std::string(text, end);
  const auto exact = std::to_chars(text, text + sizeof text, static_cast<double>(value));
  return std::string(text, exact.ptr);
}

std::optional<std::string> barTimeText(HostDateTime time, BarTimes times) {
  std::optional<std::string> text = formatExactDateTime(time);
  if (!text) return std::nullopt;
  if (time % kMicrosecondsPerSecond == 0) text->resize(text->size() - 7);
  if (times == BarTimes::Utc) {
    (*text)[10] = 'T';
    *text += 'Z';
  }
  return text;
}

}  // namespace

std::optional<std::string> barCsvText(const std::vector<PriceBar>& bars, BarTimes times) {
  std::string text;
  for (const std::string_view column : kBarCsvColumns) text.append(text.empty() ? "" : ",").append(column);
  text += '\n';
  for (const PriceBar& bar : bars) {
    const std::optional<std::string> when = barTimeText(bar.dateTime, times);
    if (!when) return std::nullopt;
    text += *when;
    for (const float value : {bar.open, bar.high, bar.low, bar.close, bar.volume}) {
      text += ',';
      text += barNumberText(value);
    }
    text += '\n';
  }
  return text;
}

}  // namespace support
