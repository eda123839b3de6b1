#include "fuzz/paint_rules.h"

#include "study/greek_input.h"

using namespace tarvio;

namespace fuzz {

namespace {

// Series indices of the families, positive first; the first prior dot of
// the families (five GEX dots, three each for delta and gamma).
enum FirstSeries : int32_t {
  kGexVolumeSeries = 0, kGexOpenInterestSeries = 2, kDeltaSeries = 4, kGammaSeries = 6 };
enum FirstDot : int32_t { kGexDots = 0, kDeltaDots = 5, kGammaDots = 8 };

void drawSeries(PaintRules& rules, int32_t firstSeries) {
  rules.seriesDrawn[firstSeries] = true;
  rules.seriesDrawn[firstSeries + 1] = true;
  ++rules.passes;
}

void drawDots(PaintRules& rules, const DrawingSettings& settings, int32_t firstDot, int32_t count) {
  rules.firstDot = firstDot;
  for (int32_t dot = firstDot; dot < firstDot + count; ++dot)
    rules.dotsDrawn[dot] = settings.priorDotsShown[dot];
}

}  // namespace

PaintRules paintRulesOf(const DrawingSettings& settings) {
  PaintRules rules;
  rules.plot = settings.plot;
  rules.barStyles = settings.barStyles;
  rules.dotStyle = settings.dotStyle;
  rules.dotRadius = settings.dotRadius;
  const ProfileFamily family = greekOption(settings.kind).family;
  if (family == ProfileFamily::Gex) {
    // Volume carries the priors; open interest has none.
    if (settings.gexDisplay != 1) {
      drawSeries(rules, kGexVolumeSeries);
      drawDots(rules, settings, kGexDots, 5);
    }
    if (settings.gexDisplay != 0) drawSeries(rules, kGexOpenInterestSeries);
  } else if (family != ProfileFamily::None) {
    // Gamma or delta; three priors each.
    const bool gamma = family == ProfileFamily::Gamma;
    drawSeries(rules, gamma ? kGammaSeries : kDeltaSeries);
    drawDots(rules, settings, gamma ? kGammaDots : kDeltaDots, 3);
  }
  return rules;
}

int32_t seriesOfColor(const PaintRules& rules, HostColor color) {
  for (int32_t series = 0; series < kSeriesCount; ++series) {
    if (rules.seriesDrawn[series] && seriesColor(series) == color) return series;
  }
  return -1;
}

bool isDrawnDotColor(const PaintRules& rules, HostColor color) {
  for (int32_t dot = 0; dot < kPriorDotCount; ++dot) {
    if (rules.dotsDrawn[dot] && priorDotColor(dot) == color) return true;
  }
  return false;
}

bool plotHasRoom(const PlotArea& plot) {
  if (plot.right <= 0 || plot.bottom <= 0 || plot.right <= plot.left) return false;
  return static_cast<int64_t>(plot.bottom) - plot.top >= 2;
}

}  // namespace fuzz
