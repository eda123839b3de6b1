// Where the options-analytics service lives and what every request to it
// carries. The host name is fixed when the module is built (CMake cache
// variable TARVIO_API_HOST); paths, header names and values are the service's.
#pragma once

#include <cstdint>

#ifndef TARVIO_API_HOST
#define TARVIO_API_HOST "api.tarvio.com"
#endif

namespace tarvio {

inline constexpr const char* kServiceApiHost = TARVIO_API_HOST;
inline constexpr uint16_t kServicePort = 443;
// Base of the requests sent through the host's HTTP facility.
inline constexpr const char* kServiceBaseUrl = "https://" TARVIO_API_HOST "/v2/sierra";
inline constexpr const char* kHistoryBaseUrl = "https://" TARVIO_API_HOST "/v2/sierra/hist";

// The plug-in version every request announces.
inline constexpr const char* kPluginVersionHeader = "X-tarvio-plugin";
inline constexpr const char* kPluginVersion = "v2.2026.03.05";
inline constexpr const char* kJsonMediaType = "application/json";
// The user agent of the request the module sends itself.
inline constexpr const char* kDirectUserAgent = "SierraChart-Tarvio/1.0";

}  // namespace tarvio
