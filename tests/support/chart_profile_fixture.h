// A chart with the study placed on it and both profile snapshots parsed from
// response texts, painted through the real graphics callback onto a
// recording canvas.
//
// The plotting area is x 100..1100 and y 50..650 and shows prices 5700 to 5900,
// so a price p lies at y = 50 + 3 × (5900 − p); the tick size is 0.25. With the
// default inputs the origin is at x 850 (75 %) and a full bar is 250 pixels.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "data/gex_profile.h"
#include "data/greek_profile.h"
#include "host/recording_canvas.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"
#include "support/profile_parse_harness.h"

using namespace chart_host;
using namespace tarvio;

class ChartProfileFixture : public testing::Test {
 protected:
  ChartProfileFixture() {
    study.chart.setPlotArea(PlotArea{100, 50, 1100, 650});
    study.chart.setPriceRange(5700.0f, 5900.0f);
    study.chart.setTickSize(0.25f);
    study.call(true);  // registers the graphics callback and makes both snapshots
    gex = static_cast<GexProfile*>(study.instance.store().pointerValue(kGexProfileKey));
    greek = static_cast<GreekProfile*>(study.instance.store().pointerValue(kGreekProfileKey));
  }
  // The last call releases both profiles.
  ~ChartProfileFixture() override { study.instance.runLastCall(true); }

  void loadGex(const std::string& body) { load(body, gex); }
  void loadGreek(const std::string& body) { load(body, greek); }

  void setValue(int32_t index, int32_t value) { study.instance.input(index).intValue = value; }
  void setFloat(int32_t index, float value) { study.instance.input(index).floatValue = value; }

  const RecordingCanvas& paint() {
    canvas.clear();
    study.instance.paint(&canvas);
    return canvas;
  }

  StudyFixture study;
  RecordingCanvas canvas;
  GexProfile* gex = nullptr;
  GreekProfile* greek = nullptr;

 private:
  template <class Profile>
  void load(const std::string& body, Profile* profile) {
    ASSERT_EQ(parseInCall(study.instance, body, profile), ReadOutcome::Parsed) << body;
    study.instance.store().intValue(kProfileReadyKey) = 1;
  }
};

// A classic profile response with the given strike rows and the usual summary
// (zero gamma as given).
inline std::string gexResponse(const std::string& strikeRows, const std::string& zeroGamma = "5790.5") {
  return R"({"timestamp":1772463600,"ticker":"ES_SPX","spot":5812.5,"zero_gamma":)" + zeroGamma +
         R"(,"major_pos_vol":5850,"major_pos_oi":5900,"major_neg_vol":5750,"major_neg_oi":5700,
    "sum_gex_vol":-1234.5,"sum_gex_oi":98765.25,"delta_risk_reversal":-0.125,"strikes":)" +
         strikeRows + "}";
}

// A state-package gamma or delta response with the given rows.
inline std::string greekResponse(const std::string& contractRows) {
  return R"({"timestamp":1772463600,"ticker":"SPX","spot":5812.5,"major_positive":5850,
    "major_negative":5750,"major_long_gamma":5880,"major_short_gamma":5720,"mini_contracts":)" +
         contractRows + "}";
}

// Readable failure output for the recorded shapes.
inline void PrintTo(const HostRect& rect, std::ostream* out) {
  *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}
inline void PrintTo(const HostPoint& point, std::ostream* out) {
  *out << "(" << point.x << ", " << point.y << ")";
}
