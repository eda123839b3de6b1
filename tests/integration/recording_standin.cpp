#include "integration/recording_standin.h"

#include <fstream>

#include "service/service_endpoint.h"

using namespace tarvio;

namespace {

std::vector<std::string> withRecordOptions(const standin_test::ScratchFolder& scratch,
                                           std::vector<std::string> options) {
  const std::vector<std::string> own = {"--api-key",   RecordingStandin::kApiKey,
                                        "--host-name", kServiceApiHost,
                                        "--record",    scratch.file("requests.jsonl")};
  options.insert(options.begin(), own.begin(), own.end());
  return options;
}

}  // namespace

RecordingStandin::RecordingStandin(std::vector<std::string> options)
    : process_(withRecordOptions(scratch_, std::move(options))) {}

std::string RecordingStandin::connectTo() const {
  return std::string(kServiceApiHost) + ":443:127.0.0.1:" + std::to_string(port());
}

std::vector<std::string> RecordingStandin::recordedRequests() const {
  std::vector<std::string> lines;
  std::ifstream in(scratch_.file("requests.jsonl"));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}
