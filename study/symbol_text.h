// Normalisation of the symbols the user types (ticker, futures target): the
// same text must always name the same instrument in requests.
#pragma once

#include "study/host_interface.h"

// Strips blanks, tabs, line feeds and carriage returns at both ends and
// upper-cases byte by byte (C-locale rule). An empty result becomes
// `fallbackWhenEmpty` (null keeps it empty).
void normaliseSymbolText(HostString& target, const char* text, const char* fallbackWhenEmpty);
