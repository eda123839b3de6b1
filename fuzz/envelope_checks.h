// Checks shared by both profile fuzzers: the outcome of a parser call and the
// lines it logged, judged against the reference reading of the same text.
#pragma once

#include "data/profile_envelope.h"
#include "fuzz/reference_reading.h"

// The outcome is one of the three values and fits what was logged for it;
// where the reference is certain, it is the reference's outcome with its lines.
void checkEnvelope(const fuzz::ReferenceReading& reading, ProfileParseResult result);

// A line of `alert` holding `part`, alone in the log.
bool loggedOnly(int alert, const char* part);
