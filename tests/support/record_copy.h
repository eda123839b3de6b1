// Comparable copies of what a study call may change in its host record: the
// inputs and the output series, compared by their bits, so 0 and -0 are told
// apart, and texts by where their buffer is, which any reassignment moves.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "study/host_interface.h"

uint32_t bitsOf(float value);

// Whether two inputs hold the same value, texts aside: kind, integer, and
// float and date-time by their bits.
bool sameValue(const HostInput& a, const HostInput& b);
// Whether two inputs hold the same bits in every member, texts by where
// their buffer is.
bool identical(const HostInput& a, const HostInput& b);
bool identical(std::span<const HostInput> a, std::span<const HostInput> b);

// The input of `input`'s slot holding the float `value`, as a reader leaves it.
HostInput withFloat(HostInput input, float value);

// The copies below are made into `into`, whose storage is reused: a fuzzer
// that keeps it between inputs does not allocate for it again. The inputs'
// texts stay the record's: compared by where they are, never read.
void copyInputs(const HostStudyInterface& sc, std::vector<HostInput>& into);

// Every output series slot of the record, values and colours laid end to
// end slot by slot; the host gives every slot one value and colour per bar
// (seriesMatchBars), which a copy relies on.
struct SeriesCopy {
  int32_t slotCount = 0;
  int32_t barCount = 0;
  std::vector<uint32_t> valueBits;
  std::vector<HostColor> colors;

  // The values of slots [first, last), end to end.
  std::span<const uint32_t> valuesOf(int32_t first, int32_t last) const;
};

bool seriesMatchBars(const HostStudyInterface& sc);
void copySeries(const HostStudyInterface& sc, SeriesCopy& into);
