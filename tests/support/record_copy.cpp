#include "support/record_copy.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

bool identical(const HostString& a, const HostString& b) {
  return a.text == b.text && a.length == b.length && a.owned == b.owned && a.changed == b.changed;
}

}  // namespace

uint32_t bitsOf(float value) { return std::bit_cast<uint32_t>(value); }

bool sameValue(const HostInput& a, const HostInput& b) {
  return a.kind == b.kind && a.intValue == b.intValue &&
         bitsOf(a.floatValue) == bitsOf(b.floatValue) &&
         std::bit_cast<uint64_t>(a.dateTimeValue) == std::bit_cast<uint64_t>(b.dateTimeValue);
}

bool identical(const HostInput& a, const HostInput& b) {
  return identical(a.name, b.name) && sameValue(a, b) && a.timeZoneIndex == b.timeZoneIndex &&
         identical(a.textValue, b.textValue) && identical(a.listOptions, b.listOptions) &&
         a.displayPosition == b.displayPosition;
}

bool identical(std::span<const HostInput> a, std::span<const HostInput> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const HostInput& x, const HostInput& y) { return identical(x, y); });
}

HostInput withFloat(HostInput input, float value) {
  input.kind = kInputFloat;
  input.floatValue = value;
  return input;
}

void copyInputs(const HostStudyInterface& sc, std::vector<HostInput>& into) {
  into.assign(sc.inputs, sc.inputs + sc.inputCount);
}

std::span<const uint32_t> SeriesCopy::valuesOf(int32_t first, int32_t last) const {
  const size_t bars = static_cast<size_t>(barCount);
  return std::span(valueBits).subspan(static_cast<size_t>(first) * bars,
                                      static_cast<size_t>(last - first) * bars);
}

bool seriesMatchBars(const HostStudyInterface& sc) {
  for (int32_t i = 0; i < sc.subgraphCount; ++i) {
    const HostSubgraph& subgraph = sc.subgraphs[i];
    if (subgraph.valueCount != sc.barCount || subgraph.colorCount != sc.barCount) return false;
  }
  return true;
}

void copySeries(const HostStudyInterface& sc, SeriesCopy& copy) {
  copy.slotCount = sc.subgraphCount;
  copy.barCount = sc.barCount;
  const size_t slotSize = static_cast<size_t>(sc.barCount);
  copy.valueBits.resize(slotSize * static_cast<size_t>(sc.subgraphCount));
  copy.colors.resize(copy.valueBits.size());
  for (int32_t i = 0; i < sc.subgraphCount; ++i) {
    const HostSubgraph& subgraph = sc.subgraphs[i];
    if (slotSize == 0) continue;
    const size_t offset = static_cast<size_t>(i) * slotSize;
    std::memcpy(copy.valueBits.data() + offset, subgraph.values, slotSize * sizeof(float));
    std::memcpy(copy.colors.data() + offset, subgraph.colors, slotSize * sizeof(HostColor));
  }
}
