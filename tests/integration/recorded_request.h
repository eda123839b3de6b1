// One request as the stand-in recorded it: method, path with query, headers
// in the order they arrived, body and the fault it was answered with.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct RecordedRequest {
  std::string method;
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::string fault;

  // The headers without those the HTTP client adds by itself (Host, and
  // Content-Length for a body): what the sender asked for, in its order.
  std::vector<std::pair<std::string, std::string>> senderHeaders() const;
};

std::optional<RecordedRequest> parseRecordedRequest(const std::string& line);
std::vector<RecordedRequest> parseRecordedRequests(const std::vector<std::string>& lines);
