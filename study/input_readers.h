// Typed readers of study inputs. Each reader accepts every input kind and
// answers with the value that kind has in the reader's terms; a kind the
// reader does not take reads as 0 (or "Unset" for text). Readers never fail.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace tarvio {

// Rounds to the nearest integer, halves away from zero.
int64_t roundHalfAwayFromZero(double value);

// List index, integer value, nearest integer of a float, 0/1, colour value,
// time-zone index (also the zone a date-time input carries).
int32_t readIndex(const HostInput& input);
// As readIndex, but a time of day reads as whole seconds into the day and a
// date-time reads as 0 (the zone it may carry is the index reader's alone).
int32_t readInteger(const HostInput& input);
float readFloat(const HostInput& input);
int32_t readYesNo(const HostInput& input);
// Time of day as microseconds into the day; 0 for every other kind.
HostDateTime readDateTime(const HostInput& input);
// The input's text, or "Unset" for a text input without text and for every
// other kind. The pointer lives as long as the input keeps its value.
const char* readText(const HostInput& input);
// Colour inputs as drawn: colour value; integer; list or zone index; yes/no as
// white or black; other kinds 0.
HostColor readColor(const HostInput& input);

}  // namespace tarvio
