// Futures-conversion answers shaped like the service's: a compact object with
// "future_contract" (a quarterly contract of a common index future),
// "multiplier" (1, or 1 plus a carry of up to 6 decimals) and "additive" (a
// premium in cents of either sign). A seed always gives the same bytes.
#pragma once

#include <cstdint>
#include <string>

std::string makeConversionResponse(uint64_t seed);
