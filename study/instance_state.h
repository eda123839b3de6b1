// Keys of the values a study instance keeps in the host's persistent stores
// between calls, one enumeration per store, and the states kept under them.
// A value never set reads as 0, null or empty. Every key of the study is named
// here; a store is always indexed by one of these names (or, for level lines,
// by kFirstDrawingKey plus the level's place).
#pragma once

#include <cstdint>

namespace tarvio {

// Keys of the integer store.
enum IntStoreKey : int32_t {
  kRequestStateKey = 0,         // a RequestState
  kHistoryRequestStateKey = 1,  // a HistoryRequestState
  kDayResetArmedKey = 2,
  kAwaitingFreshProfileKey = 3,
  // The host's id of the one request (profile or history) not yet answered; 0
  // when none is. It outlives a full recalculation, which supersedes the request.
  kOutstandingRequestIdKey = 4,
  kLastDrawingKeyKey = 6,  // highest key from kFirstDrawingKey up holding a line
  kRequestsHaltedKey = 7,
  kProfileReadyKey = 8,
  kFirstDrawingKey = 9,  // this and up: line numbers of level lines, in level order
  kConversionOpenTriggerDoneKey = 1000,
  kConversionSecondTriggerDoneKey = 1001,
};

// Keys of the 64-bit store.
enum Int64StoreKey : int32_t {
  kLastRequestTimeKey = 2,
  kLastConversionTimeKey = 3,
  kOutstandingRequestSentKey = 4,  // when that request went out
};

// Keys of the text store.
enum TextStoreKey : int32_t { kLastConversionTickerKey = 0, kLastConversionFutureKey = 1 };

// Keys of the pointer store.
enum PointerStoreKey : int32_t { kGexProfileKey = 0, kGreekProfileKey = 1 };

// Where the profile request stands.
enum RequestState : int32_t { kRequestRefused, kRequestDue, kRequestWaiting, kRequestHandled };

// Where the majors-history request stands.
enum HistoryRequestState : int32_t { kHistoryNone, kHistoryWanted, kHistoryWaiting, kHistoryDone };

}  // namespace tarvio
