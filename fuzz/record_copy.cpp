#include "fuzz/record_copy.h"

#include <cstring>

#include "fuzz/fuzz_check.h"

namespace fuzz {

namespace {

TextCopy copyText(const HostString& text) {
  return TextCopy{text.text, text.length, text.owned, text.changed};
}

}  // namespace

uint32_t bitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

InputCopy withFloat(InputCopy input, float value) {
  input.kind = kInputFloat;
  input.floatBits = bitsOf(value);
  return input;
}

void copyInputs(const HostStudyInterface& sc, std::vector<InputCopy>& inputs) {
  inputs.clear();
  for (int32_t i = 0; i < sc.inputCount; ++i) {
    const HostInput& in = sc.inputs[i];
    uint64_t dateTimeBits;
    std::memcpy(&dateTimeBits, &in.dateTimeValue, sizeof dateTimeBits);
    inputs.push_back(InputCopy{in.kind, in.intValue, bitsOf(in.floatValue), dateTimeBits,
                               in.timeZoneIndex, copyText(in.name), copyText(in.textValue),
                               copyText(in.listOptions), in.displayPosition});
  }
}

uint32_t& SeriesCopy::valueBitsAt(int32_t slot, int32_t bar) {
  return valueBits[static_cast<size_t>(slot) * static_cast<size_t>(barCount) +
                   static_cast<size_t>(bar)];
}

std::span<const uint32_t> SeriesCopy::valuesOf(int32_t first, int32_t last) const {
  const size_t bars = static_cast<size_t>(barCount);
  return std::span(valueBits).subspan(static_cast<size_t>(first) * bars,
                                      static_cast<size_t>(last - first) * bars);
}

void copySeries(const HostStudyInterface& sc, SeriesCopy& copy) {
  copy.slotCount = sc.subgraphCount;
  copy.barCount = sc.barCount;
  const size_t slotSize = static_cast<size_t>(sc.barCount);
  copy.valueBits.resize(slotSize * static_cast<size_t>(sc.subgraphCount));
  copy.colors.resize(copy.valueBits.size());
  for (int32_t i = 0; i < sc.subgraphCount; ++i) {
    const HostSubgraph& subgraph = sc.subgraphs[i];
    FUZZ_CHECK(subgraph.valueCount == sc.barCount && subgraph.colorCount == sc.barCount);
    if (slotSize == 0) continue;
    const size_t offset = static_cast<size_t>(i) * slotSize;
    std::memcpy(copy.valueBits.data() + offset, subgraph.values, slotSize * sizeof(float));
    std::memcpy(copy.colors.data() + offset, subgraph.colors, slotSize * sizeof(HostColor));
  }
}

}  // namespace fuzz
