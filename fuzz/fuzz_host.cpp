#include "fuzz/fuzz_host.h"

#include <cstring>
#include <utility>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference_reading.h"
#include "support/log_only_host.h"

namespace {

std::vector<LoggedLine> lines;

void addMessageToLog(const HostString& text, int32_t alert) {
  // The host copies the text up to `length` and shows it as one line.
  FUZZ_CHECK(text.text != nullptr);
  FUZZ_CHECK(text.text[text.length] == '\0');
  FUZZ_CHECK(std::strlen(text.text) == text.length);
  FUZZ_CHECK(alert == 0 || alert == 1);
  // One line of readable length whatever the answer held: no control byte
  // raw and only well-formed UTF-8 (no C1 controls), so nothing needs escaping.
  std::string line(text.text, text.length);
  FUZZ_CHECK(line.size() <= 4096);
  FUZZ_CHECK(fuzz::asLogged(line, line.size()) == line);
  lines.push_back({std::move(line), alert});
}

// Thursday 2024-06-06 and Friday 2024-06-07 in days since 1899-12-30, so that
// Unix seconds of those days (1717632000 on) land on bars.
constexpr MarketSession kReaderSessions[] = {{45449, 15 * 60 + 30, kMarketCloseMinute},
                                             {45450, kMarketOpenMinute, kMarketCloseMinute}};

}  // namespace

HostStudyInterface& fuzzHost() {
  static HostStudyInterface sc = logOnlyHost(addMessageToLog);
  return sc;
}

const std::vector<LoggedLine>& loggedLines() { return lines; }

void resetLoggedLines() { lines.clear(); }

bool loggedOnly(int alert, const char* part) {
  return lines.size() == 1 && lines[0].alert == alert &&
         lines[0].text.find(part) != std::string::npos;
}

std::unique_ptr<char[]> responseText(const uint8_t* data, size_t size) {
  std::unique_ptr<char[]> text(new char[size + 1]);
  if (size != 0) std::memcpy(text.get(), data, size);
  text[size] = '\0';
  return text;
}

MarketHoursChart& readerChart(bool withBars) {
  static MarketHoursChart* const withMarketHours = new MarketHoursChart(kReaderSessions);
  static MarketHoursChart* const withoutBars = new MarketHoursChart(std::span<const MarketSession>());
  return withBars ? *withMarketHours : *withoutBars;
}

void callReader(MarketHoursChart& chart, const std::function<void(HostStudyInterface&)>& body) {
  resetLoggedLines();
  chart.call([&](HostStudyInterface& sc) {
    // The chart's own log is put back once the body is done.
    const auto chartLog = sc.ops.HostAddMessageToLog;
    sc.ops.HostAddMessageToLog = addMessageToLog;
    body(sc);
    sc.ops.HostAddMessageToLog = chartLog;
  });
}
