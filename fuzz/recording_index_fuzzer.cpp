// A recording's index (exchanges.jsonl), fuzzed: the reader refuses what it
// cannot read with one line naming the file and line, and what it reads,
// written again by the writer's own lines, reads back the same.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "tools/recording/index_reading.h"

using namespace recording;

namespace {

constexpr const char* kIndexName = "exchanges.jsonl";

bool sameExchange(const RecordedExchange& a, const RecordedExchange& b) {
  return a.number == b.number && a.requestedAt == b.requestedAt && a.answeredAt == b.answeredAt &&
         a.endpoint == b.endpoint && a.method == b.method && a.url == b.url && a.route == b.route &&
         a.requestBody == b.requestBody && a.headers == b.headers && a.delivered == b.delivered &&
         a.status == b.status && a.error == b.error && a.serviceReached == b.serviceReached &&
         a.bodyFile == b.bodyFile;
}

bool sameHeader(const RecordingHeader& a, const RecordingHeader& b) {
  return a.version == b.version && a.chartZone == b.chartZone && a.simulatedClock == b.simulatedClock &&
         a.firstCall == b.firstCall && a.lastCall == b.lastCall && a.stepMicroseconds == b.stepMicroseconds &&
         a.inputs == b.inputs;
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
  IndexContents reread;
  FUZZ_CHECK(readIndexText(again, kIndexName, reread, error));
  FUZZ_CHECK(reread.note.empty());
  FUZZ_CHECK(sameHeader(reread.header, read.header));
  FUZZ_CHECK(reread.exchanges.size() == read.exchanges.size());
  for (std::size_t i = 0; i < read.exchanges.size(); ++i) {
    FUZZ_CHECK(sameExchange(reread.exchanges[i], read.exchanges[i]));
    FUZZ_CHECK(reread.stamps[i].bytes == read.stamps[i].bytes && reread.stamps[i].checksum == read.stamps[i].checksum);
  }
  return 0;
}
