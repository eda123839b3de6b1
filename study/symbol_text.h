// Normalisation of the symbols the user types (ticker, futures target): the
// same text must always name the same instrument in requests.
#pragma once

#include "study/host_interface.h"

namespace tarvio {

// Strips blanks, tabs, line feeds and carriage returns at both ends and
// upper-cases byte by byte (C-locale rule). An empty result becomes
// `fallbackWhenEmpty` (null keeps it empty).
void normaliseSymbolText(HostString& target, const char* text, const char* fallbackWhenEmpty);

// Whether a normalised symbol can go into a request path or query as it
// stands: only letters, digits and _ . - ^ (an empty text fits). Anything else
// would change the path (/), add or cut off query members (& #) or make the
// host refuse the request (blanks, control bytes).
bool symbolFitsRequest(const char* symbol);

// Whether an API key can go into a header as typed: no control byte, so a line
// break cannot add a header of its own.
bool apiKeyFitsRequest(const char* key);

}  // namespace tarvio
