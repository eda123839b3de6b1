#include "tools/chart/chart_platform.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/chart/chart_options.h"
#include "host/curl_transport.h"

namespace chart_tool {

using namespace chart_host;

std::string moduleBesideProgram() {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) {
    std::string beside(self, static_cast<std::size_t>(length));
    beside = beside.substr(0, beside.rfind('/') + 1) + "tarvio_v4_graphics_64.so";
    if (access(beside.c_str(), R_OK) == 0) return beside;
  }
  return TARVIO_BUILT_MODULE_PATH;
}

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

std::shared_ptr<HttpTransport> makeServiceTransport(const ChartOptions& options, std::string&) {
  CurlTransportOptions transport;
  transport.caFile = options.caFile;
  if (!options.serviceAddress.empty()) {
    transport.connectTo = {"::" + options.serviceAddress};
    // A test build of the module sends its own request there too.
    setenv("TARVIO_TEST_CONNECT_TO", options.serviceAddress.c_str(), 1);
    if (!options.caFile.empty()) setenv("TARVIO_TEST_CA_FILE", options.caFile.c_str(), 1);
  }
  return std::make_shared<CurlTransport>(transport);
}

std::string pictureUnavailableReason() { return {}; }

bool startProgram(const std::string& program, const std::string& argument, StartedProgram& started,
                  std::string& error) {
  std::string name = program;
  std::string text = argument;
  char* const arguments[] = {name.data(), text.data(), nullptr};
  pid_t id = 0;
  // The child's exec failure (a missing or unrunnable program) comes back here.
  const int failure = posix_spawnp(&id, program.c_str(), nullptr, nullptr, arguments, environ);
  if (failure != 0) {
    error = std::strerror(failure);
    return false;
  }
  started = id;
  return true;
}

bool programEnded(StartedProgram started) {
  int status = 0;
  // The child's id once it has ended, -1 when there is nothing left to wait for.
  return waitpid(static_cast<pid_t>(started), &status, WNOHANG) != 0;
}

// A child left running is adopted by the system when this program ends.
void leaveProgram(StartedProgram) {}

bool replaceFile(const std::string& from, const std::string& to, std::string& error) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  error = std::strerror(errno);
  return false;
}

namespace {

std::atomic<bool> interruptCame{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void noteInterrupt(int) { interruptCame = true; }

}  // namespace

void noteInterrupts() {
  struct sigaction action {};
  action.sa_handler = noteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second one ends the program as usual
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction before {};
    // A signal the program was started to ignore (nohup) stays ignored.
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

bool interrupted() { return interruptCame; }

}  // namespace chart_tool
