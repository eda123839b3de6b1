// Comparable copies of what a study call may change in its host record: the
// inputs and the output series. Floats are kept by their bits, so 0 and -0
// are told apart; texts by where their buffer is, which any reassignment moves.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "study/host_interface.h"

namespace fuzz {

uint32_t bitsOf(float value);

struct TextCopy {
  const char* buffer;
  uint32_t length;
  uint8_t owned;
  uint8_t changed;

  bool operator==(const TextCopy&) const = default;
};

struct InputCopy {
  int32_t kind;
  int32_t intValue;
  uint32_t floatBits;
  uint64_t dateTimeBits;
  int32_t timeZoneIndex;
  TextCopy name;
  TextCopy textValue;
  TextCopy listOptions;
  int32_t displayPosition;

  bool operator==(const InputCopy&) const = default;
};

// A float input holding `value`, as a reader leaves it.
InputCopy withFloat(InputCopy input, float value);

// The copies below are made into `into`, whose storage is reused: a fuzzer
// that keeps it between inputs does not allocate for it again.
void copyInputs(const HostStudyInterface& sc, std::vector<InputCopy>& into);

// Every output series slot of the record, values and colours laid end to
// end slot by slot; the host gives every slot one value and colour per bar.
struct SeriesCopy {
  int32_t slotCount = 0;
  int32_t barCount = 0;
  std::vector<uint32_t> valueBits;
  std::vector<HostColor> colors;

  uint32_t& valueBitsAt(int32_t slot, int32_t bar);
  // The values of slots [first, last), end to end.
  std::span<const uint32_t> valuesOf(int32_t first, int32_t last) const;
  bool operator==(const SeriesCopy&) const = default;
};

void copySeries(const HostStudyInterface& sc, SeriesCopy& into);

}  // namespace fuzz
