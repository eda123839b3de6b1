#include "host/picture/price_axis.h"

#include <algorithm>
#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

constexpr double kMinLabelDistance_px = 44.0;
// More grid lines than this are never useful, whatever the range.
constexpr std::size_t kMostTicks = 400;

}  // namespace

double roundPriceStep(double priceRange, double height_px, double minDistance_px) {
  if (!(priceRange > 0.0) || !std::isfinite(priceRange) || !(height_px > 0.0)) return 1.0;
  const double smallest = priceRange * minDistance_px / height_px;
  const double power = std::pow(10.0, std::floor(std::log10(smallest)));
  for (double multiple : {1.0, 2.0, 2.5, 5.0}) {
    if (multiple * power >= smallest * (1.0 - 1e-9)) return multiple * power;
  }
  return 10.0 * power;
}

PriceTicks choosePriceTicks(const PictureLayout& layout) {
  const double low = layout.lowPrice;
  const double high = layout.highPrice;
  PriceTicks ticks{
      roundPriceStep(high - low, layout.plot.bottom - layout.plot.top, kMinLabelDistance_px), {}};
  if (!(high > low)) return ticks;
  for (double index = std::ceil(low / ticks.step); index * ticks.step <= high; index += 1.0) {
    if (ticks.prices.size() >= kMostTicks) break;
    ticks.prices.push_back(index * ticks.step);
  }
  return ticks;
}

void drawPriceAxis(cairo_t* cr, const Chart& chart, const PriceTicks& ticks,
                   const std::vector<PlacedTag>& tags, const PictureLayout& layout) {
  const PlotArea& plot = layout.plot;
  selectFont(cr, picture_theme::kAxisFont_px);
  const double halfLine = lineHeight(cr) / 2.0;
  // The finer of the step and the tick size decides the decimals.
  const double decimalsStep =
      decimalsFor(ticks.step) > decimalsFor(chart.tickSize()) ? ticks.step : chart.tickSize();
  for (double price : ticks.prices) {
    const int32_t y = chart.priceToY(static_cast<float>(price));
    if (y - halfLine < plot.top || y + halfLine > plot.bottom) continue;
    const bool covered = std::any_of(tags.begin(), tags.end(), [&](const PlacedTag& tag) {
      return y - halfLine < tag.bottom + 1.0 && tag.top - 1.0 < y + halfLine;
    });
    if (covered) continue;
    fillPixels(cr, plot.right, y, plot.right + 4, y + 1, picture_theme::kAxisLine);
    drawText(cr, plot.right + 9, y - halfLine, formatPrice(price, decimalsStep),
             picture_theme::kAxisText);
  }
}

}  // namespace chart_host
