// The stand-in as the module's integration tests use it: it expects the key
// they send, names the service's host in its certificate, and records every
// request it receives.
#pragma once

#include <string>
#include <vector>

#include "support/standin_process.h"

class RecordingStandin {
 public:
  static constexpr const char* kApiKey = "it-key-42";

  // Extra command-line options, e.g. {"--fault", "random"}.
  explicit RecordingStandin(std::vector<std::string> options = {});

  bool running() const { return process_.ready(); }
  std::string startError() const { return "stand-in did not start: " + process_.standardError(); }
  int port() const { return process_.port(); }
  const std::string& certificateFile() const { return process_.certificatePath(); }
  // "api.tarvio.com:443:127.0.0.1:PORT" for libcurl's connect-to list.
  std::string connectTo() const;
  // The requests received so far, one JSON text per line.
  std::vector<std::string> recordedRequests() const;
  // A file in a scratch folder that lives as long as the stand-in.
  std::string scratchPath(const std::string& name) const { return scratch_.file(name); }

 private:
  standin_test::ScratchFolder scratch_;
  standin_test::StandinProcess process_;
};
