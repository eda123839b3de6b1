// Nothing is thrown out of the study function: a host operation that throws
// ends the call with an alert line, and the texts the call held are released
// all the same (the sanitizer build reports any that are not).
#include "study/study_function.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "study/instance_state.h"
#include "study/study_inputs.h"
#include "support/study_fixture.h"

using namespace tarvio;

namespace {

HostDrawingRecord leftoverWithLabel() {
  HostDrawingRecord record = makeHostDrawingRecord();
  record.drawingKind = 12;  // a leftover text drawing the sweep removes
  record.price = 5000.0f;
  assignHostString(record.labelText, "leftover label");
  return record;
}

struct ThrowingOperationCase {
  const char* name;
  void (*replace)(HostOperations& ops);
  const char* alert;  // the log line the call leaves
};

const ThrowingOperationCase kThrowingOperationCases[] = {
    {"the first drawing look-up throws",
     [](HostOperations& ops) {
       ops.HostGetChartDrawing = [](int32_t, int32_t, HostDrawingRecord&, int32_t) -> int32_t {
         throw std::runtime_error("drawings unavailable");
       };
     },
     "Tarvio: internal error: drawings unavailable"},
    // The sweep holds the label of the drawing it copied out when the delete throws.
    {"a delete throws while a label is held",
     [](HostOperations& ops) {
       ops.HostDeleteDrawing = [](int32_t, int32_t) -> int32_t { throw std::runtime_error("delete refused"); };
     },
     "Tarvio: internal error: delete refused"},
    {"something that is no standard exception",
     [](HostOperations& ops) {
       ops.HostDeleteDrawing = [](int32_t, int32_t) -> int32_t { throw 42; };
     },
     "Tarvio: internal error: unknown exception"},
    // What the exception says is shown safely on one log line.
    {"a text with a line break",
     [](HostOperations& ops) {
       ops.HostGetChartDrawing = [](int32_t, int32_t, HostDrawingRecord&, int32_t) -> int32_t {
         throw std::runtime_error("first\nTarvio: forged line");
       };
     },
     "Tarvio: internal error: first\\nTarvio: forged line"},
};

TEST(StudyBoundaryTest, AThrowingHostOperationLeavesAnAlertAndTheNextCallRuns) {
  for (const ThrowingOperationCase& c : kThrowingOperationCases) {
    StudyFixture fixture;
    HostDrawingRecord leftover = leftoverWithLabel();
    fixture.chart.drawings().add(leftover, 99);
    releaseHostString(leftover.labelText);
    HostOperations& ops = fixture.instance.record().ops;
    const HostOperations original = ops;
    c.replace(ops);

    fixture.call(true);  // the full recalculation sweeps the chart's drawings

    const auto& lines = fixture.instance.log().lines();
    ASSERT_EQ(lines.size(), 1u) << c.name;
    EXPECT_EQ(lines[0].text, c.alert) << c.name;
    EXPECT_TRUE(lines[0].alert) << c.name;

    // The host's own operations back, the next recalculation completes.
    ops = original;
    fixture.call(true);
    EXPECT_EQ(fixture.instance.log().lines().size(), 1u) << c.name;
    EXPECT_TRUE(fixture.chart.drawings().all().empty()) << c.name;
  }
}

TEST(StudyBoundaryTest, ALogOperationThatThrowsIsSwallowedToo) {
  StudyFixture fixture;
  // A configuration conflict the study reports with an alert.
  fixture.instance.input(kPackageInput).intValue = 1;
  fixture.instance.input(kGreekInput).intValue = 0;
  fixture.instance.input(kGexDisplayInput).intValue = 2;
  HostOperations& ops = fixture.instance.record().ops;
  const HostOperations original = ops;
  ops.HostAddMessageToLog = [](const HostString&, int32_t) { throw std::runtime_error("log full"); };

  fixture.call(true);

  ops = original;
  EXPECT_TRUE(fixture.instance.log().lines().empty());
  EXPECT_EQ(fixture.instance.store().intValue(kRequestsHaltedKey), 0);  // the call ended early
}

}  // namespace
