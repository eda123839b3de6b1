// The chart's drawings: numbering, replacement, look-up by position and
// removal by owner.
#include "host/chart_drawings.h"

#include <gtest/gtest.h>

using namespace chart_host;

namespace {

HostDrawingRecord line(float price, const char* label) {
  HostDrawingRecord record = makeHostDrawingRecord();
  record.drawingKind = kDrawingKindHorizontalLine;
  record.price = price;
  assignHostString(record.labelText, label);
  return record;
}

TEST(ChartDrawingsTest, NumbersNewDrawingsAndReplacesByLineNumber) {
  ChartDrawings drawings;
  HostDrawingRecord first = line(10, "ZG: 10.00");
  HostDrawingRecord second = line(20, "MCV");
  drawings.add(first, 1);
  drawings.add(second, 1);
  EXPECT_EQ(first.lineNumber, 1);
  EXPECT_EQ(second.lineNumber, 2);

  assignHostString(first.labelText, "ZG: 11.00");
  first.price = 11;
  drawings.add(first, 1);
  EXPECT_EQ(first.lineNumber, 1);
  ASSERT_EQ(drawings.all().size(), 2u);
  EXPECT_EQ(drawings.find(1)->record.price, 11.0f);
  EXPECT_EQ(drawings.find(1)->label, "ZG: 11.00");

  // A number the user deleted meanwhile gets a new drawing, never a reused number.
  EXPECT_TRUE(drawings.remove(2));
  EXPECT_FALSE(drawings.remove(2));
  drawings.add(second, 1);
  EXPECT_EQ(second.lineNumber, 3);
  releaseHostString(first.labelText);
  releaseHostString(second.labelText);
}

TEST(ChartDrawingsTest, CopiesOutByPositionWithItsLabel) {
  ChartDrawings drawings;
  HostDrawingRecord placed = line(10, "MPV: 10.00");
  drawings.add(placed, 7);
  HostDrawingRecord out = makeHostDrawingRecord();
  assignHostString(out.labelText, "old text the copy must release");
  ASSERT_TRUE(drawings.copyOut(0, out));
  EXPECT_EQ(out.lineNumber, placed.lineNumber);
  EXPECT_EQ(out.ownerStudyId, 7);
  EXPECT_STREQ(hostStringText(out.labelText), "MPV: 10.00");
  EXPECT_FALSE(drawings.copyOut(1, out));
  EXPECT_FALSE(drawings.copyOut(-1, out));
  releaseHostString(out.labelText);
  releaseHostString(placed.labelText);
}

TEST(ChartDrawingsTest, RemovesOnlyTheOwnersDrawings) {
  ChartDrawings drawings;
  HostDrawingRecord a = line(1, ""), b = line(2, ""), c = line(3, "");
  drawings.add(a, 1);
  drawings.add(b, 2);
  drawings.add(c, 1);
  EXPECT_EQ(drawings.removeOwnedBy(1), 2);
  ASSERT_EQ(drawings.all().size(), 1u);
  EXPECT_EQ(drawings.all()[0].record.lineNumber, b.lineNumber);
}

}  // namespace
