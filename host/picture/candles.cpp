#include "host/picture/candles.h"

#include <algorithm>
#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

// Share of the bar spacing a body takes; the rest is the gap between bars.
constexpr double kBodyShare = 0.7;

// Rows at most this far outside the plot are drawn; farther ones are cut
// there, so a wild price cannot reach cairo as a huge coordinate.
int32_t rowOf(const Chart& chart, float price) {
  const PlotArea& plot = chart.plotArea();
  return std::clamp(chart.priceToY(price), plot.top - 2, plot.bottom + 2);
}

}  // namespace

HostColor candleColor(const Bar& bar) {
  return bar.close >= bar.open ? picture_theme::kUpCandle : picture_theme::kDownCandle;
}

void drawCandles(cairo_t* cr, const Chart& chart, const PictureLayout& layout) {
  // An odd body width, so the wick sits in its middle.
  const int32_t halfBody =
      std::max(0, static_cast<int32_t>((layout.barSpacing_px * kBodyShare - 1.0) / 2.0));
  for (int32_t index = layout.firstBar; index < layout.endBar(); ++index) {
    const Bar& bar = chart.bars()[index];
    if (!std::isfinite(bar.open) || !std::isfinite(bar.high) || !std::isfinite(bar.low) ||
        !std::isfinite(bar.close)) {
      continue;
    }
    const HostColor color = candleColor(bar);
    const int32_t x = static_cast<int32_t>(std::floor(layout.barCentreX(index)));
    const int32_t highRow = rowOf(chart, std::max({bar.high, bar.open, bar.close}));
    const int32_t lowRow = rowOf(chart, std::min({bar.low, bar.open, bar.close}));
    fillPixels(cr, x, highRow, x + 1, lowRow + 1, color);
    const int32_t bodyTop = rowOf(chart, std::max(bar.open, bar.close));
    const int32_t bodyBottom = rowOf(chart, std::min(bar.open, bar.close));
    fillPixels(cr, x - halfBody, bodyTop, x + halfBody + 1, bodyBottom + 1, color);
  }
}

}  // namespace chart_host
