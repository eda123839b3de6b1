#include "tools/recording/index_reading.h"

namespace recording {

bool readIndexText(std::string_view text, const std::string& indexName, IndexContents& read, std::string& error) {
  read = IndexContents{};
  auto refuse = [&](int line, const std::string& reason) {
    error = indexName + " line " + std::to_string(line) + ": " + reason;
    return false;
  };
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (end == std::string_view::npos) {
      if (lineNumber == 1) return refuse(1, "the header line was cut (the recording run ended mid-write)");
      read.note = indexName + " line " + std::to_string(lineNumber) +
                  " was cut (the recording run ended mid-write); read up to line " + std::to_string(lineNumber - 1);
      break;
    }
    std::string reason;
    if (lineNumber == 1) {
      if (!readHeaderLine(line, read.header, reason)) return refuse(1, "the header line: " + reason);
      continue;
    }
    RecordedExchange exchange;
    BodyStamp stamp;
    if (!readExchangeLine(line, exchange, stamp, reason)) return refuse(lineNumber, reason);
    const int64_t due = static_cast<int64_t>(read.exchanges.size()) + 1;
    if (exchange.number != due)
      return refuse(lineNumber, "exchange " + std::to_string(exchange.number) + " where exchange " +
                                    std::to_string(due) + " was due (numbers out of order)");
    read.exchanges.push_back(std::move(exchange));
    read.stamps.push_back(std::move(stamp));
    read.lineNumbers.push_back(lineNumber);
  }
  if (lineNumber == 0) return refuse(1, "the header line is missing (an empty index)");
  return true;
}

}  // namespace recording
