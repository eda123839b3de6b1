// The chart host's real transport on Windows: HTTPS through WinHTTP.
// Transfers run one after another on the worker thread; the worker also
// completes a request that cannot be sent as given (not https, a header that
// would break its line).
#pragma once

#include <string>

#include "host/https_transport.h"

namespace chart_host {

struct WinHttpTransportOptions : HttpsTransportBasics {
  // Bound of sending, and of each wait for data; a value below 1 takes the
  // default.
  long receiveTimeoutMs = 15000;
  // Where to connect in place of a URL's host and port: "NAME:PORT", e.g.
  // "localhost:8443". The server's certificate must be made out to NAME and
  // trusted by the system. Empty: the URL's own.
  std::string connectTo;
};

// On destruction, every transfer not yet begun is completed as failed and
// the one under way ends within its timeouts.
using WinHttpTransport = HttpsTransport<WinHttpTransportOptions>;

// Its members, as winhttp_transport_windows.cpp defines them.
template <> WinHttpTransport::HttpsTransport(WinHttpTransportOptions options);
template <> WinHttpTransport::~HttpsTransport();
template <> bool WinHttpTransport::start(const HttpRequest& request, Completion done);

}  // namespace chart_host
