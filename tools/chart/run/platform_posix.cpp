#include "tools/chart/run/platform.h"

#include <unistd.h>

#include <cstdlib>

#include "tools/chart/command_line/run_plan.h"
#include "host/curl_transport.h"

namespace chart_tool::run {

using namespace chart_tool::command_line;

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
