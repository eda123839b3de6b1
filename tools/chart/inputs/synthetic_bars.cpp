#include "tools/chart/inputs/synthetic_bars.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace chart_tool::inputs {

namespace {

float onTick(double price, float tickSize) {
  return static_cast<float>(std::round(price / tickSize) * tickSize);
}

}  // namespace

std::vector<Bar> makeSyntheticBars(const SyntheticBarsPlan& plan) {
  std::vector<Bar> bars;
  if (plan.count <= 0) return bars;
  bars.reserve(static_cast<std::size_t>(plan.count));
  std::mt19937_64 random(plan.seed);
  std::normal_distribution<double> step(0.0, 1.0);
  const float tick = plan.tickSize > 0 ? plan.tickSize : 0.25f;
  // About 0.04 % of the price per bar, a quiet index future's minute.
  const double scale = std::max(static_cast<double>(plan.startPrice) * 0.0004, static_cast<double>(tick));
  double price = plan.startPrice;
  for (int32_t i = 0; i < plan.count; ++i) {
    const double open = price;
    double high = open;
    double low = open;
    // Four moves inside the bar give it a body and wicks.
    for (int move = 0; move < 4; ++move) {
      price = std::max(price + step(random) * scale / 2.0, static_cast<double>(tick));
      high = std::max(high, price);
      low = std::min(low, price);
    }
    const float volume = static_cast<float>(std::round(800.0 + 400.0 * std::fabs(step(random))));
    bars.push_back(Bar{plan.firstBar + plan.barMicroseconds * i, onTick(open, tick), onTick(high, tick),
                       onTick(low, tick), onTick(price, tick), volume});
  }
  return bars;
}

std::vector<Bar> SyntheticBarsFeed::barsUpTo(HostDateTime now) {
  if (now < plan_.firstBar || plan_.barMicroseconds <= 0) return {};
  const int64_t begun = (now - plan_.firstBar) / plan_.barMicroseconds + 1;
  if (begun <= plan_.count) return {};
  // The same seed walks the same way: the bars shown stay as they were.
  plan_.count = static_cast<int32_t>(std::min<int64_t>(begun, std::numeric_limits<int32_t>::max()));
  return makeSyntheticBars(plan_);
}

}  // namespace chart_tool::inputs
