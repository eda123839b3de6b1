// Test platform on POSIX systems: the module's HTTPS request is libcurl's.
#include <curl/curl.h>

#include <cstdlib>

#include "support/test_platform.h"

void setTestEnvironment(const char* name, const char* value) { setenv(name, value, 1); }

void clearTestEnvironment(const char* name) { unsetenv(name); }

uint32_t connectionRefusedErrorNumber() { return CURLE_COULDNT_CONNECT; }
