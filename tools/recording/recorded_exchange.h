// A recording of a chart run: every exchange between the study and the
// service as it happened, so a day can be replayed later without the network.
// A recording is a folder:
//   exchanges.jsonl  one JSON line first saying what the recording is (its
//                    version, the chart's zone, the run's clock and inputs),
//                    then one line per finished exchange, appended as each
//                    answer arrives;
//   bodies/          each answer's body exactly as received, one file per
//                    exchange, written whole before its line is appended;
//   bars.csv         the bars the chart held when the run began.
// From version 2 on the index also holds a line per call of the study, in
// call order, appended after the call: its clock time, how the chart's bars
// changed since the call before, and the exchange whose answer the study was
// handed on it. A replay of such a recording repeats the run call for call.
// The API key is never written: the one header that carries it keeps its name
// with the value kHiddenKey, and wherever else the key shows (a URL, a request
// body, an answer's body or error that quotes it) it is replaced by kHiddenKey
// too; otherwise bodies are kept byte for byte.
//
// An index line, for example:
//   {"number":1,"requestedAt":"2026-03-02 10:15:00.000000","answeredAt":"2026-03-02 10:15:01.000000",
//    "endpoint":"profile","method":"GET","url":"https://api.tarvio.com/v2/sierra/ES_SPX/classic/full",
//    "route":"/v2/sierra/ES_SPX/classic/full","requestBody":"","headers":[["Authorization","<API KEY>"],...],
//    "delivered":true,"status":200,"error":"","serviceReached":true,"bodyFile":"bodies/000001.body",
//    "bodyBytes":41234,"bodyChecksum":"fnv1a64:0123456789abcdef"}
// (one line; times as support::formatExactDateTime writes them). A call line:
//   {"call":12,"at":"2026-03-02 10:15:11.000412","barsFrom":80,
//    "bars":[["2026-03-02 10:14:00.000000",5801.25,5802,5800.5,5801.75,1200]],"handed":7}
// with "barsTold" and "barsWarning" after them when the bars file had trouble.
// bars.csv is written before the header line, so an index that reads always
// has its bars.
// Writing: recording_writer.h. Reading the index text alone (for tools and
// the fuzzer): index_reading.h. The bars file's text: tools/support/bar_csv.h.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "study/host_interface.h"
#include "tools/support/bar_csv.h"

namespace recording {

// The version written; version 1 (exchanges only) is still read.
inline constexpr int kRecordingVersion = 2;
inline constexpr int kFirstVersionWithCalls = 2;
inline constexpr const char* kIndexFileName = "exchanges.jsonl";
inline constexpr const char* kBodiesFolderName = "bodies";
inline constexpr const char* kBarsFileName = "bars.csv";
inline constexpr const char* kHiddenKey = "<API KEY>";

// What the whole run was, from the first line of the index.
struct RecordingHeader {
  int version = kRecordingVersion;
  std::string chartZone;    // the chart's zone text; every time below is its wall-clock time
  bool simulatedClock = true;
  HostDateTime firstCall = 0;   // the run's span and step, for a replay's defaults
  HostDateTime lastCall = 0;
  int64_t stepMicroseconds = kMicrosecondsPerSecond;
  // The study's inputs as the run set them ("name=value", as --set takes
  // them), in order, the API key left out. An input whose name holds '=' or
  // would find another input is given by its index ("37=3"); list inputs by
  // option index; numbers and times exact.
  std::vector<std::string> inputs;
  // The bars were made up by the program, not read from a file (absent
  // before this was written: a file).
  bool syntheticBars = false;
};

// One request the study made and the answer handed to it.
struct RecordedExchange {
  int64_t number = 0;           // 1, 2, ... in the order the requests were made
  HostDateTime requestedAt = 0;  // chart wall-clock time the request was made
  // and the time its answer arrived: on the simulated clock the call after
  // the request (requestedAt + the run's step), when the study was handed
  // it; on the real clock requestedAt plus the real time the transfer took.
  HostDateTime answeredAt = 0;
  std::string endpoint;          // "profile" or "history"
  std::string method;            // "GET" or "POST"
  std::string url;               // as the study made it
  std::string route;             // the URL's path (ticker, package and kind): what a replay matches on
  std::string requestBody;
  std::vector<std::pair<std::string, std::string>> headers;  // in the study's order, key hidden
  bool delivered = false;        // false: the transfer failed, `error` says why
  long status = 0;               // HTTP status, when delivered
  std::string error;
  bool serviceReached = false;   // when not delivered: whether anything of the service was seen
  // The key was hidden in what the service sent (the body or the error), so
  // they are not byte for byte what came.
  bool keyHidden = false;
  std::string bodyFile;          // relative to the recording folder, e.g. "bodies/000001.body"
  std::string body;              // the answer's body, read back from bodyFile
};

// One call of the study as the run made it. Before the first call the chart
// held the recording's bars on the real clock and none on the simulated one
// (its bars appear as the clock passes them); each call's bars are the
// chart's from index `barsFrom` on, as they stood at the call (none when
// nothing changed): earlier bars never change.
struct RecordedCall {
  int64_t number = 0;  // 1, 2, ...
  HostDateTime at = 0;  // the clock's time of the call
  int64_t barsFrom = 0;
  std::vector<support::PriceBar> bars;
  int64_t handed = 0;  // the exchange whose answer the study was handed on it; 0: none
  // What the run told of its bars file on the call (a line skipped, a file
  // that cannot be read), as its log has it, and what was wrong with the
  // file then; both absent from older recordings, and when nothing was.
  std::vector<std::string> barsTold;
  std::string barsWarning;
};

struct Recording {
  RecordingHeader header;
  std::vector<RecordedExchange> exchanges;  // in `number` order
  // From version 2 on: the calls, up to the last one whose handed exchange is
  // in the recording (a cut recording ends there).
  std::vector<RecordedCall> calls;
  std::string barsPath;                     // the recording's bars file (FOLDER/bars.csv), checked to be there
  // Set when the index's last line was cut (a run killed mid-append): what
  // was read, up to which line. Empty otherwise.
  std::string note;
};

// Reads a recording folder whole (bodies included, each checked against the
// size and checksum its index line gives). False with one line in `error`
// naming the file and line for anything missing, damaged or of another
// version. A cut last line is not an error: the exchanges before it are read
// and `note` says so.
bool readRecording(const std::string& folder, Recording& read, std::string& error);

}  // namespace recording
