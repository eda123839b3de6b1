// What tests need of the platform they run on: changing the process's
// environment, and the number the module's own HTTPS request reports when
// nothing listens where it is sent. One implementation file per platform.
#pragma once

#include <cstdint>

void setTestEnvironment(const char* name, const char* value);
void clearTestEnvironment(const char* name);

// The error number in "WinHttpSendRequest/ReceiveResponse failed
// (GetLastError=N)" when the connection is refused.
uint32_t connectionRefusedErrorNumber();
