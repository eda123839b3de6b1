#include "tools/chart/run/platform.h"

#include <unistd.h>

#include <cstdlib>

#include "tools/chart/command_line/run_plan.h"
#include "host/curl_transport.h"

namespace chart_tool::run {

using namespace chart_tool::command_line;

using namespace chart_host;

namespace {

constexpr const char* kModuleFile = "tarvio_v4_graphics_64.so";
// The module built with the program, for the tests' programs; empty in a
// release, whose program never looks into a build folder.
constexpr const char* kBuiltModule = TARVIO_BUILT_MODULE_PATH;

// The folder of the running program, with its final '/'; empty when unknown.
std::string programFolder() {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return {};
  const std::string path(self, static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

// Beside the program (a build folder), then where the Debian package puts it
// from the program's own place (/usr/bin/ -> /usr/lib/tarvio/). When neither
// holds it, a release names the package's place, so the load's error says
// where the module was looked for; never a path from the working folder.
std::string moduleBesideProgram() {
  const std::string folder = programFolder();
  const std::string installed = (folder.empty() ? std::string("/usr/bin/") : folder) + "../lib/tarvio/" + kModuleFile;
  if (!folder.empty()) {
    for (const std::string& place : {folder + kModuleFile, installed})
      if (access(place.c_str(), R_OK) == 0) return place;
  }
  return *kBuiltModule != '\0' ? kBuiltModule : installed;
}

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

std::shared_ptr<HttpTransport> makeServiceTransport(const ServiceSettings& service, std::string&) {
  CurlTransportOptions transport;
  transport.caFile = service.caFile;
  if (!service.address.empty()) {
    transport.connectTo = {"::" + service.address};
    // A test build of the module sends its own request there too.
    setenv("TARVIO_TEST_CONNECT_TO", service.address.c_str(), 1);
    if (!service.caFile.empty()) setenv("TARVIO_TEST_CA_FILE", service.caFile.c_str(), 1);
  }
  return std::make_shared<CurlTransport>(transport);
}

std::string pictureUnavailableReason() { return {}; }

}  // namespace chart_tool::run
