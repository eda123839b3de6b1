// A recording's index (exchanges.jsonl), fuzzed: the reader refuses what it
// cannot read with one line naming the file and line, and what it reads,
// written again by the writer's own lines, reads back the same, its texts as
// the writer writes every text: valid UTF-8, a byte of none as the text \xhh.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include <rapidjson/document.h>

#include "fuzz/fuzz_check.h"
#include "tools/recording/call_lines.h"
#include "tools/recording/index_reading.h"
#include "tools/support/json_text.h"

using namespace recording;

namespace {

constexpr const char* kIndexName = "exchanges.jsonl";

// `text` as a reader reads it back from the one JSON writer.
std::string asWritten(const std::string& text) {
  const std::string quoted = support::jsonString(text);
  rapidjson::Document document;
  document.Parse(quoted.data(), quoted.size());
  FUZZ_CHECK(document.IsString());
  return std::string(document.GetString(), document.GetStringLength());
}

// Whether `reread` holds `read`'s text as written.
bool sameText(const std::string& reread, const std::string& read) {
  return reread == read || reread == asWritten(read);
}

bool sameExchange(const RecordedExchange& a, const RecordedExchange& b) {
  return a.number == b.number && a.requestedAt == b.requestedAt && a.answeredAt == b.answeredAt &&
         sameText(a.endpoint, b.endpoint) && sameText(a.method, b.method) && sameText(a.url, b.url) &&
         sameText(a.route, b.route) && sameText(a.requestBody, b.requestBody) && a.delivered == b.delivered &&
         a.status == b.status && sameText(a.error, b.error) && a.serviceReached == b.serviceReached &&
         a.keyHidden == b.keyHidden &&
         sameText(a.bodyFile, b.bodyFile) && a.headers.size() == b.headers.size() &&
         std::equal(a.headers.begin(), a.headers.end(), b.headers.begin(),
                    [](const auto& x, const auto& y) { return sameText(x.first, y.first) && sameText(x.second, y.second); });
}

bool sameHeader(const RecordingHeader& a, const RecordingHeader& b) {
  return a.version == b.version && sameText(a.chartZone, b.chartZone) && a.simulatedClock == b.simulatedClock &&
         a.firstCall == b.firstCall && a.lastCall == b.lastCall && a.stepMicroseconds == b.stepMicroseconds &&
         a.syntheticBars == b.syntheticBars && a.inputs.size() == b.inputs.size() &&
         std::equal(a.inputs.begin(), a.inputs.end(), b.inputs.begin(), sameText);
}

bool sameCall(const RecordedCall& a, const RecordedCall& b) {
  const auto sameBar = [](const support::PriceBar& x, const support::PriceBar& y) {
    return x.dateTime == y.dateTime && x.open == y.open && x.high == y.high && x.low == y.low && x.close == y.close &&
           x.volume == y.volume;
  };
  return a.number == b.number && a.at == b.at && a.barsFrom == b.barsFrom && a.handed == b.handed &&
         a.bars.size() == b.bars.size() && std::equal(a.bars.begin(), a.bars.end(), b.bars.begin(), sameBar) &&
         sameText(a.barsWarning, b.barsWarning) && a.barsTold.size() == b.barsTold.size() &&
         std::equal(a.barsTold.begin(), a.barsTold.end(), b.barsTold.begin(), sameText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  IndexContents read;
  std::string error;
  if (!readIndexText(text, kIndexName, read, error)) {
    FUZZ_CHECK(error.rfind(std::string(kIndexName) + " line ", 0) == 0);
    FUZZ_CHECK(error.find('\n') == std::string::npos);
    return 0;
  }
  FUZZ_CHECK(read.exchanges.size() == read.stamps.size() && read.exchanges.size() == read.lineNumbers.size());
  FUZZ_CHECK(read.note.empty() == (text.back() == '\n'));

  std::string again;
  std::string line;
  FUZZ_CHECK(headerLine(read.header, line, error));
  again += line;
  for (std::size_t i = 0; i < read.exchanges.size(); ++i) {
    FUZZ_CHECK(read.exchanges[i].number == static_cast<int64_t>(i) + 1);
    FUZZ_CHECK(exchangeLine(read.exchanges[i], read.stamps[i], line, error));
    again += line;
  }
  for (const RecordedCall& call : read.calls) {
    FUZZ_CHECK(call.handed <= static_cast<int64_t>(read.exchanges.size()));
    FUZZ_CHECK(callLine(call, line, error));
    again += line;
  }
  IndexContents reread;
  FUZZ_CHECK(readIndexText(again, kIndexName, reread, error));
  FUZZ_CHECK(reread.note.empty());
  FUZZ_CHECK(sameHeader(reread.header, read.header));
  FUZZ_CHECK(reread.exchanges.size() == read.exchanges.size());
  FUZZ_CHECK(reread.calls.size() == read.calls.size());
  for (std::size_t i = 0; i < read.calls.size(); ++i) FUZZ_CHECK(sameCall(reread.calls[i], read.calls[i]));
  for (std::size_t i = 0; i < read.exchanges.size(); ++i) {
    FUZZ_CHECK(sameExchange(reread.exchanges[i], read.exchanges[i]));
    FUZZ_CHECK(reread.stamps[i].bytes == read.stamps[i].bytes && sameText(reread.stamps[i].checksum, read.stamps[i].checksum));
  }
  return 0;
}
