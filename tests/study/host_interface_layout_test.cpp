// The layout of the records that cross the module boundary, pinned field by
// field. Host and module are built separately and read each other's records
// by offset: a field that moves, grows or changes its alignment breaks every
// build of the other side, so such a change must be deliberate and show up
// here. Pinned for x86-64, where the Linux and the Windows (mingw-w64) builds
// lay the records out alike.
#include <gtest/gtest.h>

#include <cstddef>

#include "study/host_interface.h"

namespace {

struct PinnedLayout {
  const char* name;
  std::size_t actual;
  std::size_t pinned;
};

#define PINNED_SIZE(record, bytes) PinnedLayout{"sizeof(" #record ")", sizeof(record), bytes}
#define PINNED_FIELD(record, field, offset) \
  PinnedLayout{#record "::" #field, offsetof(record, field), offset}

const PinnedLayout kPinnedLayouts[] = {
    PINNED_SIZE(HostString, 16),
    PINNED_FIELD(HostString, text, 0),
    PINNED_FIELD(HostString, length, 8),
    PINNED_FIELD(HostString, owned, 12),
    PINNED_FIELD(HostString, changed, 13),
    PINNED_SIZE(HostInput, 88),
    PINNED_FIELD(HostInput, name, 0),
    PINNED_FIELD(HostInput, kind, 16),
    PINNED_FIELD(HostInput, intValue, 20),
    PINNED_FIELD(HostInput, floatValue, 24),
    PINNED_FIELD(HostInput, dateTimeValue, 32),
    PINNED_FIELD(HostInput, timeZoneIndex, 40),
    PINNED_FIELD(HostInput, textValue, 48),
    PINNED_FIELD(HostInput, listOptions, 64),
    PINNED_FIELD(HostInput, displayPosition, 80),
    PINNED_SIZE(HostSubgraph, 72),
    PINNED_FIELD(HostSubgraph, name, 0),
    PINNED_FIELD(HostSubgraph, primaryColor, 16),
    PINNED_FIELD(HostSubgraph, drawStyle, 20),
    PINNED_FIELD(HostSubgraph, lineWidth, 24),
    PINNED_FIELD(HostSubgraph, lineAttribute, 28),
    PINNED_FIELD(HostSubgraph, values, 32),
    PINNED_FIELD(HostSubgraph, valueCount, 40),
    PINNED_FIELD(HostSubgraph, colors, 48),
    PINNED_FIELD(HostSubgraph, colorCount, 56),
    PINNED_FIELD(HostSubgraph, spareValue, 60),
    PINNED_FIELD(HostSubgraph, spareColor, 64),
    PINNED_SIZE(HostDrawingRecord, 80),
    PINNED_FIELD(HostDrawingRecord, chartNumber, 0),
    PINNED_FIELD(HostDrawingRecord, lineNumber, 4),
    PINNED_FIELD(HostDrawingRecord, price, 8),
    PINNED_FIELD(HostDrawingRecord, color, 12),
    PINNED_FIELD(HostDrawingRecord, fontSize, 16),
    PINNED_FIELD(HostDrawingRecord, labelText, 24),
    PINNED_FIELD(HostDrawingRecord, drawingKind, 40),
    PINNED_FIELD(HostDrawingRecord, lineWidth, 44),
    PINNED_FIELD(HostDrawingRecord, lineStyle, 46),
    PINNED_FIELD(HostDrawingRecord, hostMode, 48),
    PINNED_FIELD(HostDrawingRecord, labelAlignment, 52),
    PINNED_FIELD(HostDrawingRecord, transparentLabelBackground, 56),
    PINNED_FIELD(HostDrawingRecord, copyToOtherCharts, 60),
    PINNED_FIELD(HostDrawingRecord, copySource, 64),
    PINNED_FIELD(HostDrawingRecord, copyFlag, 68),
    PINNED_FIELD(HostDrawingRecord, reserved, 70),
    PINNED_FIELD(HostDrawingRecord, ownerStudyId, 72),
    PINNED_SIZE(HostStudyInterface, 568),
    PINNED_FIELD(HostStudyInterface, recordSize, 0),
    PINNED_FIELD(HostStudyInterface, hostVersion, 4),
    PINNED_FIELD(HostStudyInterface, chartNumber, 8),
    PINNED_FIELD(HostStudyInterface, barCount, 12),
    PINNED_FIELD(HostStudyInterface, barDateTimes, 16),
    PINNED_FIELD(HostStudyInterface, currentBarIndex, 24),
    PINNED_FIELD(HostStudyInterface, updateStartIndex, 28),
    PINNED_FIELD(HostStudyInterface, currentDateTime, 32),
    PINNED_FIELD(HostStudyInterface, clockDateTime, 40),
    PINNED_FIELD(HostStudyInterface, alternateClockDateTime, 48),
    PINNED_FIELD(HostStudyInterface, useAlternateClock, 56),
    PINNED_FIELD(HostStudyInterface, tickSize, 60),
    PINNED_FIELD(HostStudyInterface, plotLeft, 64),
    PINNED_FIELD(HostStudyInterface, plotRight, 68),
    PINNED_FIELD(HostStudyInterface, plotTop, 72),
    PINNED_FIELD(HostStudyInterface, plotBottom, 76),
    PINNED_FIELD(HostStudyInterface, httpResponseText, 80),
    PINNED_FIELD(HostStudyInterface, httpResponseRequestId, 96),
    PINNED_FIELD(HostStudyInterface, isSetDefaultsPass, 100),
    PINNED_FIELD(HostStudyInterface, isLastCall, 104),
    PINNED_FIELD(HostStudyInterface, isBeingRemoved, 108),
    PINNED_FIELD(HostStudyInterface, isFullRecalculation, 112),
    PINNED_FIELD(HostStudyInterface, inputs, 120),
    PINNED_FIELD(HostStudyInterface, inputCount, 128),
    PINNED_FIELD(HostStudyInterface, subgraphs, 136),
    PINNED_FIELD(HostStudyInterface, subgraphCount, 144),
    PINNED_FIELD(HostStudyInterface, studyName, 152),
    PINNED_FIELD(HostStudyInterface, graphRegion, 168),
    PINNED_FIELD(HostStudyInterface, loopPerBar, 172),
    PINNED_FIELD(HostStudyInterface, updateEveryTick, 176),
    PINNED_FIELD(HostStudyInterface, graphicsCallback, 184),
    PINNED_FIELD(HostStudyInterface, earliestChangedBarIndex, 192),
    PINNED_FIELD(HostStudyInterface, spareInput, 200),
    PINNED_FIELD(HostStudyInterface, spareSubgraph, 288),
    PINNED_FIELD(HostStudyInterface, ops, 360),
};

#undef PINNED_SIZE
#undef PINNED_FIELD

TEST(HostInterfaceLayoutTest, EveryBoundaryRecordKeepsItsSizeAndFieldOffsets) {
  for (const PinnedLayout& layout : kPinnedLayouts) {
    EXPECT_EQ(layout.actual, layout.pinned) << layout.name << " moved or changed size";
  }
}

// The operations are the part of the record that grows, so they come last:
// nothing may follow them.
TEST(HostInterfaceLayoutTest, TheOperationsEndTheRecord) {
  EXPECT_EQ(offsetof(HostStudyInterface, ops) + sizeof(HostOperations), sizeof(HostStudyInterface));
}

}  // namespace
