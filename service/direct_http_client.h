// The one request the module sends itself, synchronously, inside the study
// call: the futures-conversion GET. It blocks the call for at most its
// timeouts (5 s for each step) and reports either the response or the step
// that failed.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

struct DirectHttpResult {
  bool completed;       // a response was received and its body read
  uint32_t statusCode;  // 0 when it was not read
  HostString body;      // up to its first zero byte
  HostString errorText; // names the failed step when not completed
};

void releaseDirectHttpResult(DirectHttpResult& result);

// The conversion parameters of `futuresTarget` for `ticker`, asked with the
// API key. The result's texts belong to the caller.
DirectHttpResult fetchFuturesConversion(const char* ticker, const char* futuresTarget,
                                        const char* apiKey);

}  // namespace tarvio
