// Runs tarvio-standin as a child process for the process-level tests: a
// scratch folder for its files, the ready line read from its standard
// output, its standard error kept in a file, and HTTPS requests to it with
// libcurl trusting the certificate it wrote.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace standin_test {

// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

// A folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct ProcessResult {
  int exit_status = -1;  // -1: did not exit normally
  std::string standard_output;
  std::string standard_error;
};

// Runs the stand-in with `arguments` to its end (at most `timeout_s`).
ProcessResult runToEnd(const std::vector<std::string>& arguments, double timeout_s = 10);
// Runs any program the same way.
ProcessResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         double timeout_s = 10);

class StandinProcess {
 public:
  // Starts the stand-in with `arguments` plus --port 0, --write-cert and
  // --port-file in its scratch folder, and waits for the ready line.
  explicit StandinProcess(std::vector<std::string> arguments = {});
  ~StandinProcess();
  StandinProcess(const StandinProcess&) = delete;
  StandinProcess& operator=(const StandinProcess&) = delete;

  bool ready() const { return port_ != 0; }
  int port() const { return port_; }
  const std::string& readyLine() const { return ready_line_; }
  const std::string& certificatePath() const { return certificate_path_; }
  const ScratchFolder& scratch() const { return scratch_; }
  std::string url(const std::string& path) const;
  std::string standardError() const;

  // Sends SIGTERM and returns the exit status (-1 when it did not exit
  // normally within a few seconds).
  int stop();

 private:
  ScratchFolder scratch_;
  std::string certificate_path_;
  pid_t pid_ = -1;
  int output_fd_ = -1;
  int port_ = 0;
  std::string ready_line_;
};

struct Fetched {
  int curl_code = -1;  // CURLE_OK is 0
  long status = 0;
  std::string body;
};

struct FetchRequest {
  std::string url;
  std::vector<std::string> headers;  // "Name: value"
  const char* post_body = nullptr;   // POST with this body when set
  std::string ca_file;
  double timeout_s = 5;
  // Sends the request to this port on 127.0.0.1 whatever the URL's host.
  int connect_to_port = 0;
};

Fetched fetch(const FetchRequest& request);

}  // namespace standin_test
