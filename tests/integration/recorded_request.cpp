#include "integration/recorded_request.h"

#include <rapidjson/document.h>
#include <strings.h>

std::vector<std::pair<std::string, std::string>> RecordedRequest::senderHeaders() const {
  std::vector<std::pair<std::string, std::string>> kept;
  for (const auto& header : headers) {
    if (strcasecmp(header.first.c_str(), "Host") == 0) continue;
    if (strcasecmp(header.first.c_str(), "Content-Length") == 0) continue;
    kept.push_back(header);
  }
  return kept;
}

std::optional<RecordedRequest> parseRecordedRequest(const std::string& line) {
  rapidjson::Document document;
  document.Parse(line.c_str());
  if (document.HasParseError() || !document.IsObject()) return std::nullopt;
  auto text = [&](const char* key) -> std::string {
    const auto member = document.FindMember(key);
    return member != document.MemberEnd() && member->value.IsString()
               ? std::string(member->value.GetString(), member->value.GetStringLength())
               : std::string();
  };
  RecordedRequest request{text("method"), text("path"), {}, text("body"), text("fault")};
  const auto headers = document.FindMember("headers");
  if (headers == document.MemberEnd() || !headers->value.IsArray()) return std::nullopt;
  for (const auto& pair : headers->value.GetArray()) {
    if (!pair.IsArray() || pair.Size() != 2 || !pair[0].IsString() || !pair[1].IsString())
      return std::nullopt;
    request.headers.emplace_back(pair[0].GetString(), pair[1].GetString());
  }
  return request;
}

std::vector<RecordedRequest> parseRecordedRequests(const std::vector<std::string>& lines) {
  std::vector<RecordedRequest> requests;
  for (const std::string& line : lines) {
    if (auto request = parseRecordedRequest(line)) requests.push_back(*request);
  }
  return requests;
}
