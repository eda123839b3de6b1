// This machine's own names, as a browser on the network would write them in
// a request's Host header: its host name and fully qualified name, and the
// addresses of its network interfaces (IPv6 in brackets, without a zone),
// all in lower case. Empty where they cannot be learnt, and on Windows,
// whose build serves no page. One file per platform.
#pragma once

#include <string>
#include <vector>

namespace chart_tool::live {

std::vector<std::string> machineNames();

}  // namespace chart_tool::live
