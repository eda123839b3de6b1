// Keys of the values a study instance keeps in the host's persistent stores
// between calls. A value never set reads as 0, null or empty.
#pragma once

#include <cstdint>

namespace tarvio {

// Integer store.
inline constexpr int32_t kRequestStateKey = 0;           // 0 refused, 1 due, 2 waiting, 3 handled
inline constexpr int32_t kHistoryRequestStateKey = 1;    // 0 none, 1 wanted, 2 waiting, 3 done
inline constexpr int32_t kDayResetArmedKey = 2;
inline constexpr int32_t kAwaitingFreshProfileKey = 3;
// The host's id of the one request (profile or history) not yet answered; 0
// when none is. It outlives a full recalculation, which supersedes the request.
inline constexpr int32_t kOutstandingRequestIdKey = 4;
inline constexpr int32_t kLastDrawingKeyKey = 6;         // highest key from 9 up holding a line
inline constexpr int32_t kRequestsHaltedKey = 7;
inline constexpr int32_t kProfileReadyKey = 8;
inline constexpr int32_t kFirstDrawingKey = 9;           // 9 and up: line numbers of level lines
inline constexpr int32_t kConversionOpenTriggerDoneKey = 1000;
inline constexpr int32_t kConversionSecondTriggerDoneKey = 1001;
// 64-bit store.
inline constexpr int32_t kLastRequestTimeKey = 2;
inline constexpr int32_t kLastConversionTimeKey = 3;
inline constexpr int32_t kOutstandingRequestSentKey = 4;  // when that request went out
// Text store.
inline constexpr int32_t kLastConversionTickerKey = 0;
inline constexpr int32_t kLastConversionFutureKey = 1;
// Pointer store.
inline constexpr int32_t kGexProfileKey = 0;
inline constexpr int32_t kGreekProfileKey = 1;

// Request states.
inline constexpr int32_t kRequestRefused = 0;
inline constexpr int32_t kRequestDue = 1;
inline constexpr int32_t kRequestWaiting = 2;
inline constexpr int32_t kRequestHandled = 3;

// Majors-history request states.
inline constexpr int32_t kHistoryNone = 0;
inline constexpr int32_t kHistoryWanted = 1;
inline constexpr int32_t kHistoryWaiting = 2;
inline constexpr int32_t kHistoryDone = 3;

}  // namespace tarvio
