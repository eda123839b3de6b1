// The request record: one JSON line per request received, appended to a
// file and flushed at once, so a test can read what the client sent while
// the stand-in runs:
//   {"method": "GET", "path": "/path?query", "headers": [["Name", "value"], ...],
//    "body": "...", "fault": "none"}
// The path is the request target as received; headers keep their order.
// write() is thread-safe.
#pragma once

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "tools/standin/fault_plan.h"

namespace standin {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct ReceivedRequest {
  std::string method;
  std::string target;  // "/path?query" exactly as received
  HeaderList headers;  // in the order received
  std::string body;    // at most the size cap
  bool body_too_large = false;
};

// The record line for `request` (without the line feed).
std::string recordLine(const ReceivedRequest& request, FaultMode fault);

class RequestRecord {
 public:
  // Opens `path` for appending. Returns null and sets `problem` when it
  // cannot be opened.
  static std::unique_ptr<RequestRecord> open(const std::string& path, std::string& problem);

  void write(const ReceivedRequest& request, FaultMode fault);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  explicit RequestRecord(std::FILE* file) : file_(file) {}
  std::mutex mutex_;
  std::unique_ptr<std::FILE, Closer> file_;  // closed with the record
};

}  // namespace standin
