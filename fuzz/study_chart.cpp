#include "fuzz/study_chart.h"

#include <cmath>
#include <utility>

#include "fuzz/fuzz_check.h"
#include "render/major_levels.h"
#include "study/instance_state.h"
#include "study/study_function.h"
#include "study/study_inputs.h"

namespace fuzz {

namespace {

// 2026-03-02 10:00 as a HostDateTime (days since 1899-12-30, in microseconds).
constexpr HostDateTime kMorning = 46083LL * kMicrosecondsPerDay + 10LL * 3600 * 1000000;
constexpr HostDateTime kMinute = 60LL * 1000000;
constexpr int32_t kStudyId = 1;

void setInt(StudyInstance& instance, int32_t index, int32_t value) {
  instance.input(index).intValue = value;
}

void setFloat(StudyInstance& instance, int32_t index, float value) {
  instance.input(index).floatValue = value;
}

CallSettings morningCall() {
  CallSettings call;
  call.currentDateTime = kMorning;
  call.clockDateTime = kMorning;
  return call;
}

}  // namespace

StudyChart::StudyChart() : instance_(chart_, runStudyFunction, kStudyId) {
  // A few bars, so the level outputs land in real series slots.
  for (int32_t i = 0; i < 3; ++i) {
    const float price = 5800.0f + static_cast<float>(i);
    chart_.appendBar(Bar{kMorning + i * kMinute, price, price + 1, price - 1, price, 100});
  }
  instance_.runSetDefaultsPass();
  CallSettings call = morningCall();
  call.fullRecalculation = true;
  instance_.runCall(call);
  // That call made the study's own snapshots; this chart lends its own instead.
  PersistentStore& store = instance_.store();
  delete static_cast<GexProfile*>(std::exchange(store.pointerValue(kGexProfileKey), nullptr));
  delete static_cast<GreekProfile*>(std::exchange(store.pointerValue(kGreekProfileKey), nullptr));
}

void StudyChart::apply(const DrawingSettings& s) {
  StudyInstance& in = instance_;
  setInt(in, kGreekInput, s.kind);
  setInt(in, kGexDisplayInput, s.gexDisplay);
  setInt(in, kProfileDirectionInput, s.direction);
  setInt(in, kOriginPositionInput, s.originPercent);
  setInt(in, kBarScaleFactorInput, s.scalePercent);
  setInt(in, kLogarithmicScalingInput, s.logarithmic ? 1 : 0);
  setInt(in, kBarWidthInput, s.barWidthTicks);
  for (int32_t series = 0; series < kSeriesCount; ++series) {
    setInt(in, kCallGexVolumeColorInput + 2 * series, static_cast<int32_t>(seriesColor(series)));
    setInt(in, kCallGexVolumeStyleInput + 2 * series, s.barStyles[series]);
    setInt(in, kCallGexVolumeFilterInput + series, s.filters[series]);
  }
  setInt(in, kGexVolumeOffsetInput, s.offsetTicks[0]);
  setInt(in, kGexOiOffsetInput, s.offsetTicks[1]);
  setInt(in, kDeltaOffsetInput, s.offsetTicks[2]);
  setInt(in, kGammaOffsetInput, s.offsetTicks[3]);
  for (int32_t dot = 0; dot < kPriorDotCount; ++dot) {
    setInt(in, kFirstPriorDotDisplayInput + dot, s.priorDotsShown[dot] ? 1 : 0);
    setInt(in, kFirstPriorDotColorInput + dot, static_cast<int32_t>(priorDotColor(dot)));
  }
  setInt(in, kPriorDotsStyleInput, s.dotStyle);
  setFloat(in, kPriorDotsSizeInput, s.dotSize);
  setFloat(in, kAdditivePremiumInput, s.additive);
  setFloat(in, kMultiplicativePremiumInput, s.multiplier);
  setInt(in, kShowMajorLabelsInput, s.labelsShown ? 1 : 0);
  setInt(in, kMajorLabelFormatInput, s.labelFormat);
  setInt(in, kMajorLabelHorizontalAlignInput, s.labelHorizontal);
  setInt(in, kMajorLabelVerticalAlignInput, s.labelVertical);
  setInt(in, kAllowCopyToOtherChartsInput, s.copyToOtherCharts ? 1 : 0);
  for (int32_t level = 0; level < static_cast<int32_t>(s.levelsShown.size()); ++level) {
    setInt(in, kShowZeroGammaInput + level, s.levelsShown[level] ? 1 : 0);
  }

  chart_.setPlotArea(s.plot);
  chart_.setPriceRange(s.lowPrice, s.highPrice);
  chart_.setTickSize(s.tickSize);
}

void StudyChart::lend(const GexProfile& gex, const GreekProfile& greek) {
  // The study only reads the snapshots it is lent.
  instance_.store().pointerValue(kGexProfileKey) = const_cast<GexProfile*>(&gex);
  instance_.store().pointerValue(kGreekProfileKey) = const_cast<GreekProfile*>(&greek);
  instance_.store().intValue(kProfileReadyKey) = 1;
}

void StudyChart::takeBack() {
  instance_.store().intValue(kProfileReadyKey) = 0;
  instance_.store().pointerValue(kGexProfileKey) = nullptr;
  instance_.store().pointerValue(kGreekProfileKey) = nullptr;
}

void StudyChart::paint(const GexProfile& gex, const GreekProfile& greek, Canvas& canvas) {
  lend(gex, greek);
  instance_.paint(&canvas);
  takeBack();
}

int32_t StudyChart::drawLevels(const GexProfile& gex, const GreekProfile& greek, float additive,
                               float multiplier) {
  // Starts on no key at all, so a round that never sets it shows.
  int32_t nextDrawingKey = -1;
  instance_.runCallWith(morningCall(), [&](HostStudyInterface& sc) {
    drawMajorLevels(sc, nextDrawingKey, 0, gex, greek, additive, multiplier);
    // Absent levels, sums and changes, and levels with no finite price, leave
    // their outputs as they were: every output stays finite.
    for (int32_t output = 0; output < sc.subgraphCount; ++output)
      FUZZ_CHECK(std::isfinite(subgraphValueAt(subgraphAt(sc, output), sc.currentBarIndex)));
  });
  return nextDrawingKey;
}

StudyChart& studyChart() {
  static StudyChart* const chart = new StudyChart;
  return *chart;
}

}  // namespace fuzz
