// The chart host's real transport on POSIX systems: HTTPS through libcurl.
// Transfers run many at a time on the worker thread. A request that cannot be
// sent as given is completed inside start().
#pragma once

#include <string>
#include <vector>

#include "host/https_transport.h"

namespace chart_host {

struct CurlTransportOptions : HttpsTransportBasics {
  // Bound of a whole transfer; a value below 1 takes the default.
  long totalTimeoutMs = 15000;
  std::string caFile;  // certificates to trust; empty: the system's trust store
  // Where to connect in place of a URL's host: "HOST:PORT:ADDRESS:PORT",
  // e.g. "levels.example:443:127.0.0.1:8443". Names and certificates stay
  // those of the URL.
  std::vector<std::string> connectTo;
};

// On destruction, every transfer still in flight is completed as failed.
using CurlTransport = HttpsTransport<CurlTransportOptions>;

// Its members, as curl_transport.cpp defines them.
template <> CurlTransport::HttpsTransport(CurlTransportOptions options);
template <> CurlTransport::~HttpsTransport();
template <> bool CurlTransport::start(const HttpRequest& request, Completion done);

}  // namespace chart_host
