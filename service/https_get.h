// One HTTPS GET, performed synchronously by the platform's HTTP client: WinHTTP
// on Windows (https_get_windows.cpp), libcurl elsewhere (https_get_posix.cpp).
// Both take the same steps with the same timeouts and report a failed step
// with the same texts, numbered by the platform's own error number.
#pragma once

#include <cstdint>

#include "service/direct_http_client.h"

namespace tarvio {

struct HttpsGetRequest {
  const char* host;
  uint16_t port;
  const char* pathAndQuery;
  const char* headerBlock;  // header lines, each ended by CR LF
  const char* userAgent;
};

// Every step waits at most this long.
inline constexpr uint32_t kHttpsStepTimeoutMs = 5000;

// Fills `result`, which arrives cleared.
void performHttpsGet(const HttpsGetRequest& request, DirectHttpResult& result);

}  // namespace tarvio
