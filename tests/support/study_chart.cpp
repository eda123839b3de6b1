#include "support/study_chart.h"

#include <utility>

#include "render/major_levels.h"
#include "study/instance_state.h"
#include "study/study_inputs.h"

using namespace tarvio;

HostColor seriesColor(int32_t series) { return rgb(10 + static_cast<uint32_t>(series), 20, 30); }

HostColor priorDotColor(int32_t dot) { return rgb(40, 50 + static_cast<uint32_t>(dot), 60); }

StudyChart::StudyChart() {
  study_.call(true);
  PersistentStore& store = study_.instance.store();
  delete static_cast<GexProfile*>(std::exchange(store.pointerValue(kGexProfileKey), nullptr));
  delete static_cast<GreekProfile*>(std::exchange(store.pointerValue(kGreekProfileKey), nullptr));
}

void StudyChart::apply(const DrawingSettings& s) {
  StudyInstance& in = study_.instance;
  const std::pair<int32_t, int32_t> choices[] = {
      {kGreekInput, s.kind},
      {kGexDisplayInput, s.gexDisplay},
      {kProfileDirectionInput, s.direction},
      {kOriginPositionInput, s.originPercent},
      {kBarScaleFactorInput, s.scalePercent},
      {kLogarithmicScalingInput, s.logarithmic},
      {kBarWidthInput, s.barWidthTicks},
      {kGexVolumeOffsetInput, s.offsetTicks[0]},
      {kGexOiOffsetInput, s.offsetTicks[1]},
      {kDeltaOffsetInput, s.offsetTicks[2]},
      {kGammaOffsetInput, s.offsetTicks[3]},
      {kPriorDotsStyleInput, s.dotStyle},
      {kShowMajorLabelsInput, s.labelsShown},
      {kMajorLabelFormatInput, s.labelFormat},
      {kMajorLabelHorizontalAlignInput, s.labelHorizontal},
      {kMajorLabelVerticalAlignInput, s.labelVertical},
      {kAllowCopyToOtherChartsInput, s.copyToOtherCharts}};
  for (const auto& [input, value] : choices) in.input(input).intValue = value;
  for (int32_t series = 0; series < kSeriesCount; ++series) {
    in.input(kCallGexVolumeColorInput + 2 * series).intValue = int32_t(seriesColor(series));
    in.input(kCallGexVolumeStyleInput + 2 * series).intValue = s.barStyles[series];
    in.input(kCallGexVolumeFilterInput + series).intValue = s.filters[series];
  }
  for (int32_t dot = 0; dot < kPriorDotCount; ++dot) {
    in.input(kFirstPriorDotDisplayInput + dot).intValue = s.priorDotsShown[dot];
    in.input(kFirstPriorDotColorInput + dot).intValue = int32_t(priorDotColor(dot));
  }
  for (int32_t level = 0; level < static_cast<int32_t>(s.levelsShown.size()); ++level)
    in.input(kShowZeroGammaInput + level).intValue = s.levelsShown[level];
  in.input(kPriorDotsSizeInput).floatValue = s.dotSize;
  in.input(kAdditivePremiumInput).floatValue = s.additive;
  in.input(kMultiplicativePremiumInput).floatValue = s.multiplier;

  study_.chart.setPlotArea(s.plot);
  study_.chart.setPriceRange(s.lowPrice, s.highPrice);
  study_.chart.setTickSize(s.tickSize);
}

// The study only reads the snapshots it is lent; null takes them back.
void StudyChart::lend(const GexProfile* gex, const GreekProfile* greek) {
  PersistentStore& store = study_.instance.store();
  store.pointerValue(kGexProfileKey) = const_cast<GexProfile*>(gex);
  store.pointerValue(kGreekProfileKey) = const_cast<GreekProfile*>(greek);
  store.intValue(kProfileReadyKey) = gex != nullptr ? 1 : 0;
}

void StudyChart::paint(const GexProfile& gex, const GreekProfile& greek, Canvas& canvas) {
  lend(&gex, &greek);
  study_.instance.paint(&canvas);
  lend(nullptr, nullptr);
}

StudyChart::LevelRound StudyChart::drawLevels(const GexProfile& gex, const GreekProfile& greek,
                                              float additive, float multiplier) {
  // Starts on no key at all, so a round that never sets it shows.
  LevelRound round{-1, {}};
  const CallSettings call = callAt(atTimeOfDay(kMonday2026_03_02, 10, 0));
  study_.instance.runCallWith(call, [&](HostStudyInterface& sc) {
    drawMajorLevels(sc, round.nextDrawingKey, 0, gex, greek, additive, multiplier);
    for (int32_t output = 0; output < sc.subgraphCount; ++output)
      round.outputs.push_back(subgraphValueAt(subgraphAt(sc, output), sc.currentBarIndex));
  });
  return round;
}
