// What tarvio-chart needs of the system it runs on, one file per platform:
// where the module sits, whether messages go to a terminal, the HTTPS
// transport of the host, and pictures.
#pragma once

#include <memory>
#include <string>

#include "host/http_transport.h"

namespace chart_tool {

using chart_host::HttpTransport;

}  // namespace chart_tool

namespace chart_tool::command_line { struct ServiceSettings; }

namespace chart_tool::run {

using command_line::ServiceSettings;

// The module file that goes with the program: beside it (a build folder,
// the Windows archive) or, on Linux, in ../lib/tarvio/ from its folder (the
// Debian package's layout).
std::string moduleBesideProgram();

bool standardErrorIsTerminal();

// The host's transport for the study's requests, with the options' service
// mapping. False with a reason when the options ask for what this platform
// cannot do.
std::shared_ptr<HttpTransport> makeServiceTransport(const ServiceSettings& service, std::string& error);

// Why this build cannot write pictures, or empty when it can.
std::string pictureUnavailableReason();

}  // namespace chart_tool::run
