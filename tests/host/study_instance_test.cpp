// The host side of a study call: persistent stores kept between calls, the
// message log, the host fields a call sees, and operations outside a call.
#include "host/study_instance.h"

#include <gtest/gtest.h>

#include "host/host_operations.h"

using namespace chart_host;

namespace {

void noStudy(HostStudyInterface&) {}

TEST(StudyInstanceTest, PersistentValuesLastBetweenCallsAndStartEmpty) {
  Chart chart;
  StudyInstance instance(chart, noStudy, 1);
  instance.runCallWith({}, [](HostStudyInterface& sc) {
    EXPECT_EQ(sc.ops.HostPersistentInt(42), 0);
    EXPECT_EQ(sc.ops.HostPersistentInt64(42), 0);
    EXPECT_EQ(sc.ops.HostPersistentPointer(42), nullptr);
    EXPECT_EQ(sc.ops.HostPersistentString(42).text, nullptr);
    sc.ops.HostSetPersistentInt(42, 7);
    sc.ops.HostPersistentInt64(3) = 1LL << 40;
    assignHostString(sc.ops.HostPersistentString(0), "ES_SPX");
  });
  instance.runCallWith({}, [](HostStudyInterface& sc) {
    EXPECT_EQ(sc.ops.HostPersistentInt(42), 7);
    EXPECT_EQ(sc.ops.HostPersistentInt64(3), 1LL << 40);
    EXPECT_STREQ(hostStringText(sc.ops.HostPersistentString(0)), "ES_SPX");
  });
}

TEST(StudyInstanceTest, InstancesOnOneChartKeepTheirOwnState) {
  Chart chart;
  StudyInstance first(chart, noStudy, 1);
  StudyInstance second(chart, noStudy, 2);
  first.runCallWith({}, [](HostStudyInterface& sc) { sc.ops.HostSetPersistentInt(0, 11); });
  second.runCallWith({}, [](HostStudyInterface& sc) {
    EXPECT_EQ(sc.ops.HostPersistentInt(0), 0);
    HostString text{};
    assignHostString(text, "note");
    sc.ops.HostAddMessageToLog(text, 1);
    releaseHostString(text);
  });
  EXPECT_EQ(first.store().intValue(0), 11);
  EXPECT_TRUE(first.log().lines().empty());
  ASSERT_EQ(second.log().lines().size(), 1u);
  EXPECT_EQ(second.log().lines()[0].text, "note");
  EXPECT_TRUE(second.log().lines()[0].alert);
}

TEST(StudyInstanceTest, ACallSeesTheChartAndItsDeliveredAnswer) {
  Chart chart;
  chart.appendBar(Bar{100, 1, 2, 0, 1, 5});
  chart.appendBar(Bar{200, 1, 2, 0, 1, 5});
  chart.setTickSize(0.25f);
  chart.setPlotArea(PlotArea{10, 20, 810, 620});
  StudyInstance instance(chart, noStudy, 1);
  CallSettings settings;
  settings.currentDateTime = 200;
  settings.httpResponseRequestId = 4;
  settings.httpResponseText = "{\"timestamp\": 1}";
  instance.runCallWith(settings, [](HostStudyInterface& sc) {
    EXPECT_EQ(sc.barCount, 2);
    EXPECT_EQ(sc.currentBarIndex, 1);
    EXPECT_EQ(barDateTimeAt(sc, 1), 200);
    EXPECT_EQ(sc.tickSize, 0.25f);
    EXPECT_EQ(sc.plotLeft, 10);
    EXPECT_EQ(sc.plotBottom, 620);
    EXPECT_EQ(sc.httpResponseRequestId, 4);
    EXPECT_STREQ(hostStringText(sc.httpResponseText), "{\"timestamp\": 1}");
    EXPECT_EQ(subgraphAt(sc, 0).valueCount, 2);
    EXPECT_EQ(sc.ops.HostDateTimeToBarIndex(sc.chartNumber, 150), 0);
    EXPECT_EQ(sc.ops.HostDateTimeToBarIndex(sc.chartNumber, 250), 1);
  });
  // The answer is delivered on that one call only.
  instance.runCallWith({}, [](HostStudyInterface& sc) {
    EXPECT_EQ(sc.httpResponseRequestId, 0);
    EXPECT_EQ(sc.httpResponseText.text, nullptr);
  });
}

TEST(StudyInstanceTest, OperationsOutsideACallAreHarmless) {
  const HostOperations ops = makeHostOperations();
  ops.HostPersistentInt(1) = 5;
  EXPECT_EQ(ops.HostPersistentInt(1), 0);
  HostDrawingRecord record = makeHostDrawingRecord();
  EXPECT_EQ(ops.HostAddDrawing(record), 0);
  EXPECT_EQ(ops.HostGetChartDrawing(1, 0, record, 0), 0);
  HostDateTime out = 0;
  ops.HostConvertToTimeZone(out, 123, "UTC+00");
  EXPECT_EQ(out, 123);
  HostString url{}, body{};
  EXPECT_EQ(ops.HostMakeHttpRequest(url, body, nullptr, 0), 0);
}

TEST(StudyInstanceTest, ClampsIndicesIntoTheHostArrays) {
  Chart chart;
  StudyInstance instance(chart, noStudy, 1);
  HostStudyInterface& sc = instance.record();
  EXPECT_EQ(&inputAt(sc, -5), &inputAt(sc, 0));
  EXPECT_EQ(&inputAt(sc, 100000), &inputAt(sc, StudyInstance::kInputSlots - 1));
  // No bars: per-bar arrays are empty and yield the spare element.
  instance.runCallWith({}, [](HostStudyInterface& call) {
    HostSubgraph& series = subgraphAt(call, 3);
    subgraphValueAt(series, 0) = 1.5f;
    EXPECT_EQ(&subgraphValueAt(series, 0), &series.spareValue);
    EXPECT_EQ(barDateTimeAt(call, 0), 0);
  });
}

}  // namespace
