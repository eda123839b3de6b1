// Where the options-analytics service lives. The host name is fixed when the
// module is built (CMake cache variable TARVIO_API_HOST); paths are fixed by
// the service.
#pragma once

#ifndef TARVIO_API_HOST
#define TARVIO_API_HOST "api.tarvio.com"
#endif

inline constexpr const char* kServiceApiHost = TARVIO_API_HOST;
// Base of the requests sent through the host's HTTP facility.
inline constexpr const char* kServiceBaseUrl = "https://" TARVIO_API_HOST "/v2/sierra";
