#include "host/picture/price_range.h"

#include <algorithm>
#include <cmath>

namespace chart_host {

namespace {

// Room above the highest and below the lowest price shown, as a share of the
// range, so wicks and level labels do not touch the plot's edges.
constexpr double kMarginShare = 0.06;
// The narrowest range shown, in ticks, so a flat market is not magnified
// into noise.
constexpr double kMinimumTicks = 8.0;

bool finite(float value) { return std::isfinite(value); }

}  // namespace

PriceRange fitPriceRange(std::span<const Bar> shownBars, std::span<const float> levels,
                         float tickSize) {
  double low = INFINITY;
  double high = -INFINITY;
  for (const Bar& bar : shownBars) {
    for (float price : {bar.open, bar.high, bar.low, bar.close}) {
      if (!finite(price)) continue;
      low = std::min<double>(low, price);
      high = std::max<double>(high, price);
    }
  }
  const bool barsFound = low <= high;
  if (!barsFound) {
    for (float level : levels) {
      if (!finite(level)) continue;
      low = std::min<double>(low, level);
      high = std::max<double>(high, level);
    }
    if (!(low <= high)) return {0.0f, 1.0f};
  }

  const double middle = (low + high) / 2.0;
  const double tick = tickSize > 0.0f && finite(tickSize) ? tickSize : 0.0;
  const double minimumRange = std::max({tick * kMinimumTicks, std::fabs(middle) * 1e-5, 1e-6});
  if (barsFound) {
    const double reach = std::max(high - low, minimumRange);
    const double reachLow = low - reach;
    const double reachHigh = high + reach;
    for (float level : levels) {
      if (!finite(level) || level < reachLow || level > reachHigh) continue;
      low = std::min<double>(low, level);
      high = std::max<double>(high, level);
    }
  }
  if (high - low < minimumRange) {
    const double centre = (low + high) / 2.0;
    low = centre - minimumRange / 2.0;
    high = centre + minimumRange / 2.0;
  }
  const double margin = (high - low) * kMarginShare;
  return {static_cast<float>(low - margin), static_cast<float>(high + margin)};
}

}  // namespace chart_host
