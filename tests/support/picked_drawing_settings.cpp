#include "support/picked_drawing_settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "support/seeded_random.h"

namespace {

constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct DotSize {
  float size;
  int32_t radius;  // four pixels per unit, kept within 1..50
};

constexpr DotSize kDotSizes[] = {{1.0f, 4},  {0.1f, 1},  {2.5f, 10}, {20.0f, 50},
                                 {0.0f, 1},  {-3.0f, 1}, {12.6f, 50}, {0.49f, 1},
                                 {kInfinity, 50}, {std::numeric_limits<float>::quiet_NaN(), 1}};

// Ordinary plots, plots of a few pixels, plots at the ends of the int32
// range, and plots with nothing inside them.
constexpr PlotArea kPlots[] = {
    {100, 50, 1100, 650},
    {-400, -300, 600, 300},
    {0, 0, 1, 3},
    {7, 3, 12, 40},
    {kMaxInt - 1200, kMaxInt - 700, kMaxInt, kMaxInt},
    {100, kMinInt, 1100, kMaxInt},
    {100, 50, 1100, 0},
    {600, 50, 500, 650},
    {100, 650, 1100, 50},
};

// Plots wider than the int32 range. Dotted and dashed bars cost one host call
// per few pixels, so on these only solid bars are asked for.
constexpr PlotArea kWidePlots[] = {
    {kMinInt / 2, kMinInt / 2, kMaxInt / 2, kMaxInt / 2},
    {kMinInt, kMinInt, 1000, 600},
};

constexpr int32_t kKindsOfGex[] = {0, 1, 2};
constexpr int32_t kKindsOfGreek[] = {3, 4, 5, 6};
constexpr int32_t kAllKinds[] = {0, 1, 2, 3, 4, 5, 6, 7};
constexpr int32_t kDirections[] = {0, 1, 2, 5};
constexpr int32_t kOrigins[] = {75, 0, 100, 50, 130, -5, 33};
constexpr int32_t kScales[] = {25, 100, 1, 3, 0, 250};
constexpr int32_t kBarWidths[] = {2, 1, 8, 0, -3, 100000};
constexpr int32_t kBarStyles[] = {0, 1, 2, 3, 7};
constexpr int32_t kSolidBarStyles[] = {0, 3, 7};
constexpr int32_t kFilters[] = {0, 0, 1, -1, 3, kMinInt, kMaxInt};
// Offsets far enough to push every bar off the plot come up now and then.
constexpr int32_t kOffsets[] = {0, 0, 0, 0, 0, 0, 4, -4, -1, 1000000, kMinInt, kMaxInt};
constexpr int32_t kDotStyles[] = {0, 1, 2, 5};
constexpr float kAdditives[] = {0.0f, 0.0f, 10.5f, -250.0f, 1.0e6f, -1.0e30f};
constexpr float kMultipliers[] = {1.0f, 1.0f, 0.5f, 10.0f, 1.0e-3f, 3.0e38f};
constexpr float kTickSizes[] = {0.25f, 0.25f, 0.0001f, 5.0f, 0.0f, -0.25f};
constexpr int32_t kLabelFormats[] = {0, 1, 2, 5};

struct PriceRange {
  float low;
  float high;
};

// Fixed ranges: the usual one, none at all, upside down, a sliver, everything.
constexpr PriceRange kPriceRanges[] = {
    {5700.0f, 5900.0f},   {5800.0f, 5800.0f}, {5900.0f, 5700.0f},
    {5800.0f, 5800.01f}, {-3.0e38f, 3.0e38f},
};

// The range that shows every finite strike at its chart price, with a margin.
PriceRange fittedRange(std::span<const float> strikes, float additive, float multiplier) {
  float low = kInfinity;
  float high = -kInfinity;
  for (float strike : strikes) {
    const float price = strike * multiplier + additive;
    if (!std::isfinite(price)) continue;
    low = std::min(low, price);
    high = std::max(high, price);
  }
  if (low > high) return kPriceRanges[0];
  const float margin = (high - low) * 0.05f + 1.0f;
  return {low - margin, high + margin};
}

}  // namespace

DrawingSettings pickDrawingSettings(int32_t seed, SnapshotSource source,
                                    std::span<const float> strikes) {
  SeededRandom pick(static_cast<uint32_t>(seed));
  DrawingSettings s{};
  if (pick.oneIn(4)) {
    s.kind = pick.from(kAllKinds);
  } else {
    s.kind = source == SnapshotSource::Gex ? pick.from(kKindsOfGex) : pick.from(kKindsOfGreek);
  }
  s.gexDisplay = static_cast<int32_t>(pick.next() % 3);
  s.direction = pick.from(kDirections);
  s.originPercent = pick.from(kOrigins);
  s.scalePercent = pick.from(kScales);
  s.logarithmic = pick.oneIn(2);
  s.barWidthTicks = pick.from(kBarWidths);

  const bool wide = pick.oneIn(8);
  s.plot = wide ? pick.from(kWidePlots) : pick.from(kPlots);
  for (int32_t& style : s.barStyles) style = wide ? pick.from(kSolidBarStyles) : pick.from(kBarStyles);
  for (int32_t& filter : s.filters) filter = pick.from(kFilters);
  for (int32_t& offset : s.offsetTicks) offset = pick.from(kOffsets);

  // Usually every dot, so every prior is tried; now and then a few, so the
  // switches are tried too.
  const bool someDots = pick.oneIn(4);
  for (bool& shown : s.priorDotsShown) shown = !someDots || pick.oneIn(2);
  s.dotStyle = pick.from(kDotStyles);
  const DotSize dot = pick.from(kDotSizes);
  s.dotSize = dot.size;
  s.dotRadius = dot.radius;

  s.additive = pick.from(kAdditives);
  s.multiplier = pick.from(kMultipliers);
  s.tickSize = pick.from(kTickSizes);
  const PriceRange range =
      pick.oneIn(2) ? fittedRange(strikes, s.additive, s.multiplier) : pick.from(kPriceRanges);
  s.lowPrice = range.low;
  s.highPrice = range.high;

  s.labelsShown = !pick.oneIn(4);
  s.labelFormat = pick.from(kLabelFormats);
  s.labelHorizontal = static_cast<int32_t>(pick.next() % 3);
  s.labelVertical = static_cast<int32_t>(pick.next() % 3);
  s.copyToOtherCharts = pick.oneIn(2);
  for (bool& shown : s.levelsShown) shown = !pick.oneIn(4);
  return s;
}
