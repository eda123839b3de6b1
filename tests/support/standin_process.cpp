#include "support/standin_process.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace standin_test {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

namespace {

using Clock = std::chrono::steady_clock;

// Starts the program with stdout into a pipe (read end returned) and stderr
// into `error_path`.
pid_t spawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& error_path, int& output_fd) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, error_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> all = {program};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  output_fd = pipe_fds[0];
  return pid;
}

// Reads from `fd` until a line feed (returns true) or end of output or the
// deadline (false).
bool readLine(int fd, Clock::time_point deadline, std::string& line) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd poll_fd{fd, POLLIN, 0};
    if (poll(&poll_fd, 1, static_cast<int>(left)) <= 0) continue;
    char c;
    if (read(fd, &c, 1) != 1) return false;
    if (c == '\n') return true;
    line += c;
  }
}

std::string readRest(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t count;
  while ((count = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(count));
  return text;
}

// Waits for `pid` until the deadline; the exit status or -1.
int waitForExit(pid_t pid, Clock::time_point deadline) {
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0) return -1;
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

Clock::time_point after(double seconds) {
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

size_t appendBody(char* data, size_t size, size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarvio-standin-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

ProcessResult runToEnd(const std::vector<std::string>& arguments, double timeout_s) {
  return runProgram(TARVIO_STANDIN_PATH, arguments, timeout_s);
}

ProcessResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         double timeout_s) {
  ScratchFolder scratch;
  ProcessResult result;
  int output_fd = -1;
  const pid_t pid = spawnProgram(program, arguments, scratch.file("stderr"), output_fd);
  if (pid < 0) return result;
  result.exit_status = waitForExit(pid, after(timeout_s));
  result.standard_output = readRest(output_fd);
  close(output_fd);
  result.standard_error = readFile(scratch.file("stderr"));
  return result;
}

StandinProcess::StandinProcess(std::vector<std::string> arguments) {
  certificate_path_ = scratch_.file("cert.pem");
  arguments.insert(arguments.end(), {"--port", "0", "--write-cert", certificate_path_, "--port-file",
                                     scratch_.file("port")});
  pid_ = spawnProgram(TARVIO_STANDIN_PATH, arguments, scratch_.file("stderr"), output_fd_);
  if (pid_ < 0) return;
  std::string line;
  if (!readLine(output_fd_, after(10), line)) return;
  ready_line_ = line;
  const size_t colon = line.rfind(':');
  if (colon != std::string::npos) port_ = std::atoi(line.c_str() + colon + 1);
}

StandinProcess::~StandinProcess() {
  stop();
  if (output_fd_ >= 0) close(output_fd_);
}

std::string StandinProcess::url(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(port_) + path;
}

std::string StandinProcess::standardError() const { return readFile(scratch_.file("stderr")); }

int StandinProcess::stop() {
  if (pid_ < 0) return -1;
  kill(pid_, SIGTERM);
  const int status = waitForExit(pid_, after(10));
  pid_ = -1;
  return status;
}

Fetched fetch(const FetchRequest& request) {
  Fetched fetched;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return fetched;
  curl_slist* headers = nullptr;
  for (const std::string& header : request.headers) headers = curl_slist_append(headers, header.c_str());
  curl_slist* connect_to = nullptr;
  if (request.connect_to_port != 0) {
    connect_to = curl_slist_append(connect_to, ("::127.0.0.1:" + std::to_string(request.connect_to_port)).c_str());
    curl_easy_setopt(curl, CURLOPT_CONNECT_TO, connect_to);
  }
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_CAINFO, request.ca_file.c_str());
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout_s * 1000));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &fetched.body);
  if (request.post_body != nullptr) curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.post_body);
  fetched.curl_code = static_cast<int>(curl_easy_perform(curl));
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &fetched.status);
  curl_slist_free_all(connect_to);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return fetched;
}

}  // namespace standin_test
