#include "integration/standin_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "service/service_endpoint.h"

namespace {

std::string makeScratchFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/tarvio-standin.XXXXXX";
  return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

StandinProcess::StandinProcess(std::vector<std::string> options) {
  folder_ = makeScratchFolder();
  if (folder_.empty()) {
    error_ = "no scratch folder";
    return;
  }
  certificateFile_ = folder_ + "/standin-cert.pem";
  recordFile_ = folder_ + "/requests.jsonl";
  const std::string portFile = folder_ + "/port";
  std::vector<std::string> arguments = {TARVIO_STANDIN_PATH,  "--port",      "0",
                                        "--port-file",        portFile,      "--write-cert",
                                        certificateFile_,     "--api-key",   kApiKey,
                                        "--record",           recordFile_,   "--host-name",
                                        kServiceApiHost};
  arguments.insert(arguments.end(), options.begin(), options.end());

  pid_ = fork();
  if (pid_ == 0) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    // The stand-in's request lines would drown the test output.
    freopen((folder_ + "/standin.log").c_str(), "w", stderr);
    freopen("/dev/null", "w", stdout);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (pid_ < 0) {
    error_ = "fork failed";
    return;
  }
  // Ready once it wrote its port; a stand-in that ends early has failed.
  for (int attempt = 0; attempt < 400; ++attempt) {
    const std::string text = readFile(portFile);
    if (!text.empty()) {
      port_ = std::atoi(text.c_str());
      return;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      error_ = "stand-in ended: " + readFile(folder_ + "/standin.log");
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  error_ = "stand-in did not start within 10 s";
}

StandinProcess::~StandinProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string StandinProcess::connectTo() const {
  return std::string(kServiceApiHost) + ":443:127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> StandinProcess::recordedRequests() const {
  std::vector<std::string> lines;
  std::ifstream in(recordFile_);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}
