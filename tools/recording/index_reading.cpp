#include "tools/recording/index_reading.h"

#include <algorithm>
#include <set>

#include "tools/recording/call_lines.h"

namespace recording {

namespace {

// A call's line read into `read`: numbered in order, at a time no earlier
// than the call before, handing an exchange no other call was handed.
bool readCall(std::string_view line, IndexContents& read, std::set<int64_t>& handed, std::string& reason) {
  if (read.header.version < kFirstVersionWithCalls) {
    reason = "a call's line in a recording of version " + std::to_string(read.header.version);
    return false;
  }
  RecordedCall call;
  if (!readCallLine(line, call, reason)) return false;
  const int64_t due = static_cast<int64_t>(read.calls.size()) + 1;
  if (call.number != due) {
    reason = "call " + std::to_string(call.number) + " where call " + std::to_string(due) + " was due";
    return false;
  }
  if (!read.calls.empty() && call.at < read.calls.back().at) {
    reason = "call " + std::to_string(call.number) + " is earlier than the call before it";
    return false;
  }
  if (call.handed != 0 && !handed.insert(call.handed).second) {
    reason = "call " + std::to_string(call.number) + " was handed exchange " + std::to_string(call.handed) +
             ", which an earlier call was handed";
    return false;
  }
  read.calls.push_back(std::move(call));
  return true;
}

bool readExchange(std::string_view line, IndexContents& read, std::string& reason) {
  RecordedExchange exchange;
  BodyStamp stamp;
  if (!readExchangeLine(line, exchange, stamp, reason)) return false;
  const int64_t due = static_cast<int64_t>(read.exchanges.size()) + 1;
  if (exchange.number != due) {
    reason = "exchange " + std::to_string(exchange.number) + " where exchange " + std::to_string(due) +
             " was due (numbers out of order)";
    return false;
  }
  read.exchanges.push_back(std::move(exchange));
  read.stamps.push_back(std::move(stamp));
  return true;
}

// The calls up to the last one whose handed exchange the index holds.
void endCallsAtTheLastWholeExchange(IndexContents& read) {
  const int64_t held = static_cast<int64_t>(read.exchanges.size());
  const auto beyond = std::find_if(read.calls.begin(), read.calls.end(),
                                   [held](const RecordedCall& call) { return call.handed > held; });
  read.calls.erase(beyond, read.calls.end());
}

}  // namespace

bool readIndexText(std::string_view text, const std::string& indexName, IndexContents& read, std::string& error) {
  read = IndexContents{};
  auto refuse = [&](int line, const std::string& reason) {
    error = indexName + " line " + std::to_string(line) + ": " + reason;
    return false;
  };
  std::set<int64_t> handed;
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
    if (isCallLine(line)) {
      if (!readCall(line, read, handed, reason)) return refuse(lineNumber, reason);
      continue;
    }
    if (!readExchange(line, read, reason)) return refuse(lineNumber, reason);
    read.lineNumbers.push_back(lineNumber);
  }
  if (lineNumber == 0) return refuse(1, "the header line is missing (an empty index)");
  endCallsAtTheLastWholeExchange(read);
  return true;
}

}  // namespace recording
