// The loopback stand-in of the service as a child process of a test: started
// with a fresh certificate and a request record in a scratch folder, stopped
// when the object goes away. Tests reach it through the host's libcurl
// transport and the module's own HTTPS request, both routed to its port.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class StandinProcess {
 public:
  static constexpr const char* kApiKey = "it-key-42";

  // Extra command-line options, e.g. {"--fault", "random"}.
  explicit StandinProcess(std::vector<std::string> options = {});
  ~StandinProcess();
  StandinProcess(const StandinProcess&) = delete;
  StandinProcess& operator=(const StandinProcess&) = delete;

  bool running() const { return port_ > 0; }
  const std::string& startError() const { return error_; }
  int port() const { return port_; }
  const std::string& certificateFile() const { return certificateFile_; }
  // "api.tarvio.com:443:127.0.0.1:PORT" for libcurl's connect-to list.
  std::string connectTo() const;
  // The requests received so far, one JSON text per line.
  std::vector<std::string> recordedRequests() const;
  // A file in the scratch folder.
  std::string scratchPath(const std::string& name) const { return folder_ + "/" + name; }

 private:
  std::string folder_;
  std::string certificateFile_;
  std::string recordFile_;
  std::string error_;
  pid_t pid_ = -1;
  int port_ = 0;
};
