#include "tools/standin/request_record.h"

#include <cerrno>
#include <cstring>

#include "tools/support/json_text.h"

namespace standin {

std::string recordLine(const ReceivedRequest& request, FaultMode fault) {
  std::string line = "{\"method\":";
  support::appendJsonString(line, request.method);
  line += ",\"path\":";
  support::appendJsonString(line, request.target);
  line += ",\"headers\":[";
  for (size_t i = 0; i < request.headers.size(); ++i) {
    if (i > 0) line += ',';
    line += '[';
    support::appendJsonString(line, request.headers[i].first);
    line += ',';
    support::appendJsonString(line, request.headers[i].second);
    line += ']';
  }
  line += "],\"body\":";
  support::appendJsonString(line, request.body);
  line += ",\"fault\":";
  support::appendJsonString(line, faultName(fault));
  line += '}';
  return line;
}

std::unique_ptr<RequestRecord> RequestRecord::open(const std::string& path, std::string& problem) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) {
    problem = "cannot open " + path + " for appending: " + std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<RequestRecord>(new RequestRecord(file));
}

void RequestRecord::write(const ReceivedRequest& request, FaultMode fault) {
  std::string line = recordLine(request, fault);
  line += '\n';
  std::lock_guard lock(mutex_);
  std::fwrite(line.data(), 1, line.size(), file_.get());
  std::fflush(file_.get());
}

}  // namespace standin
