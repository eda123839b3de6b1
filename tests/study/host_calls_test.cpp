// The one rule for an operation the host left out: the call does nothing and
// answers the neutral value, for every operation of the record.
#include "study/host_calls.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace tarvio;

namespace {

constexpr HostDateTime kGivenTime = 46083LL * kMicrosecondsPerDay + 1234;

// Uses one operation and reads its answer as a number: 0 is the neutral answer.
// A store is written through and asked again, so a scratch value that kept
// what was written shows.
struct MissingOperationCase {
  const char* operation;
  int64_t (*use)(HostCalls& host);
};

HostDrawingRecord gDrawing = makeHostDrawingRecord();

const MissingOperationCase kMissingOperationCases[] = {
    {"HostAddMessageToLog",
     [](HostCalls& host) -> int64_t {
       host.addMessageToLog(HostString{}, 1);
       return 0;
     }},
    {"HostPersistentInt",
     [](HostCalls& host) -> int64_t {
       host.persistentInt(3) = 7;
       return host.persistentInt(3);
     }},
    {"HostPersistentInt64",
     [](HostCalls& host) -> int64_t {
       host.persistentInt64(3) = 7;
       return host.persistentInt64(3);
     }},
    {"HostPersistentPointer",
     [](HostCalls& host) -> int64_t {
       host.persistentPointer(1) = &gDrawing;
       return host.persistentPointer(1) != nullptr ? 1 : 0;
     }},
    {"HostPersistentString",
     [](HostCalls& host) -> int64_t {
       assignHostString(host.persistentString(0), "kept");
       const HostString& again = host.persistentString(0);
       return again.text != nullptr || again.changed != 0 ? 1 : 0;
     }},
    {"HostSetPersistentInt",
     [](HostCalls& host) -> int64_t {
       host.setPersistentInt(3, 7);
       return host.persistentInt(3);
     }},
    {"HostSetPersistentPointer",
     [](HostCalls& host) -> int64_t {
       host.setPersistentPointer(1, &gDrawing);
       return host.persistentPointer(1) != nullptr ? 1 : 0;
     }},
    {"HostMakeHttpRequest",
     [](HostCalls& host) -> int64_t { return host.makeHttpRequest(HostString{}, HostString{}, nullptr, 0); }},
    {"HostAddDrawing", [](HostCalls& host) -> int64_t { return host.addDrawing(gDrawing); }},
    {"HostGetChartDrawing",
     [](HostCalls& host) -> int64_t { return host.getChartDrawing(1, 0, gDrawing, 0); }},
    {"HostDeleteDrawing", [](HostCalls& host) -> int64_t { return host.deleteDrawing(1, 5); }},
    {"HostDeleteStudyDrawings", [](HostCalls& host) -> int64_t { return host.deleteStudyDrawings(1, -1, 0); }},
    // A conversion that cannot be made leaves the time as it was given.
    {"HostConvertToTimeZone",
     [](HostCalls& host) -> int64_t {
       HostDateTime out = 0;
       host.convertToTimeZone(out, kGivenTime, "UTC+00");
       return out - kGivenTime;
     }},
    {"HostConvertFromTimeZone",
     [](HostCalls& host) -> int64_t {
       HostDateTime out = 0;
       host.convertFromTimeZone(out, kGivenTime, "UTC+00");
       return out - kGivenTime;
     }},
    {"HostDateTimeToBarIndex", [](HostCalls& host) -> int64_t { return host.dateTimeToBarIndex(1, kGivenTime); }},
    {"HostPriceToY", [](HostCalls& host) -> int64_t { return host.priceToY(5000.0f, 0); }},
    {"HostSelectBrush",
     [](HostCalls& host) -> int64_t {
       host.selectBrush(HostFillRecord{1, 0, 0, 0});
       return 0;
     }},
    {"HostGraphicsReset1-6",
     [](HostCalls& host) -> int64_t {
       host.graphicsReset1();
       host.graphicsReset2();
       host.graphicsReset3();
       host.graphicsReset4();
       host.graphicsReset5();
       host.graphicsReset6();
       return 0;
     }},
    {"HostFillRectangle",
     [](HostCalls& host) -> int64_t {
       host.fillRectangle(HostRect{0, 0, 4, 4}, rgb(1, 2, 3));
       return 0;
     }},
    {"HostDrawPolygon",
     [](HostCalls& host) -> int64_t {
       const HostPoint corners[3] = {{0, 0}, {4, 0}, {0, 4}};
       host.drawPolygon(corners, 3);
       return 0;
     }},
    {"HostDrawEllipse",
     [](HostCalls& host) -> int64_t {
       host.drawEllipse(0, 0, 4, 4, HostFillRecord{1, 0, 0, 0});
       return 0;
     }},
};

TEST(HostCallsTest, AMissingOperationDoesNothingAndAnswersTheNeutralValue) {
  HostStudyInterface sc{};  // a host that provides no operation at all
  for (const MissingOperationCase& c : kMissingOperationCases) {
    HostCalls host(sc);
    EXPECT_EQ(c.use(host), 0) << c.operation;
  }
  EXPECT_EQ(gDrawing.lineNumber, 0);
  EXPECT_EQ(gDrawing.labelText.text, nullptr);
}

// Every operation the record holds is in the table above, so a new one is not
// left without a case.
TEST(HostCallsTest, TheTableCoversEveryOperation) {
  constexpr std::size_t kGraphicsResets = 6;
  EXPECT_EQ(std::size(kMissingOperationCases) - 1 + kGraphicsResets,
            sizeof(HostOperations) / sizeof(void (*)()));
}

TEST(HostCallsTest, APresentOperationIsCalledWithTheCallersArguments) {
  HostStudyInterface sc{};
  sc.ops.HostDeleteDrawing = [](int32_t chartNumber, int32_t lineNumber) { return chartNumber * 100 + lineNumber; };
  sc.ops.HostConvertToTimeZone = [](HostDateTime& out, const HostDateTime& in, const char* zoneText) {
    out = in + (zoneText[0] == 'U' ? 1 : 2);
  };
  HostCalls host(sc);
  EXPECT_EQ(host.deleteDrawing(3, 42), 342);
  HostDateTime out = 0;
  host.convertToTimeZone(out, kGivenTime, "UTC+00");
  EXPECT_EQ(out, kGivenTime + 1);
}

}  // namespace
