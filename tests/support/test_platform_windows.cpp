// Test platform on Windows: the module's HTTPS request is WinHTTP's.
#include <windows.h>
#include <winhttp.h>

#include <cstdlib>

#include "support/test_platform.h"

// _putenv_s changes the C runtime's copy and the process's own environment.
void setTestEnvironment(const char* name, const char* value) { _putenv_s(name, value); }

void clearTestEnvironment(const char* name) { _putenv_s(name, ""); }

uint32_t connectionRefusedErrorNumber() { return ERROR_WINHTTP_CANNOT_CONNECT; }
