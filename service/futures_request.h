// The futures-conversion request: its path and query, the model word the
// service needs for the ticker and target, and the header block. Nothing in
// the query is URL-encoded: the service takes the texts as they are.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

// "additive" when the index and its own futures contract belong together
// (SPX or ES_SPX with an ES... target, NDX or NQ_NDX with NQ...), "affine"
// for everything else. `lowerTicker` is already lower-cased; the target is
// compared case-sensitively.
const char* futuresModel(const char* lowerTicker, const char* futuresTarget);

// "/v2/futures/conversion?ticker=...&future=...&model=..." with the ticker
// lower-cased byte by byte (C-locale rule) and the target unchanged.
void formatFuturesPathAndQuery(HostString& target, const char* ticker, const char* futuresTarget);

// The header lines of the request, each ended by CR LF.
void formatFuturesHeaderBlock(HostString& target, const char* apiKey);

}  // namespace tarvio
