#include "host/picture/picture_layout.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "host/picture/level_series.h"
#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"
#include "host/picture/price_range.h"
#include "host/study_instance.h"

namespace chart_host {

namespace {

// Candles closer than this no longer read as candles.
constexpr double kMinBarSpacing_px = 5.0;
// A few bars are not stretched into slabs.
constexpr double kMaxBarSpacing_px = 24.0;

// Room for the widest price the axis shows, its tags included: the last
// close with a digit to spare, measured in the axis font.
int32_t priceAxisWidth(const Chart& chart) {
  const float close = chart.bars().empty() ? 0.0f : chart.bars().back().close;
  const std::string sample =
      formatPrice(std::isfinite(close) ? close : 0.0f, chart.tickSize()) + "0";
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  selectFont(cr, picture_theme::kAxisFont_px, true);
  const double width = textWidth(cr, sample);
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  return std::max(picture_theme::kMinPriceAxisWidth_px,
                  static_cast<int32_t>(std::ceil(width)) + 22);
}

// The plotting area, never empty, even for pictures too small for the axes.
PlotArea plotAreaFor(int32_t width, int32_t height, int32_t axisWidth) {
  PlotArea plot{0, picture_theme::kTitleBarHeight_px, width - axisWidth,
                height - picture_theme::kTimeAxisHeight_px};
  if (plot.right - plot.left < 1) plot = {0, plot.top, width, plot.bottom};
  if (plot.bottom - plot.top < 1) plot = {plot.left, 0, plot.right, height};
  return plot;
}

// How many bars fit in `usable` pixels at a readable spacing (at least one).
int32_t fittingBars(double usable) {
  return std::max(static_cast<int32_t>(usable / kMinBarSpacing_px), 1);
}

void placeBars(PictureLayout& layout, int32_t barCount, int32_t rightSpace_percent) {
  const PlotArea& plot = layout.plot;
  const double width = plot.right - plot.left;
  // A narrow margin keeps the newest candle off the axis when no space is asked for.
  const double margin = std::clamp(width / 40.0, 4.0, 48.0);
  const double space = width * std::clamp(rightSpace_percent, 0, kMaxRightSpace_percent) / 100.0;
  const double rightPadding = std::max(margin, std::ceil(space));
  const double usable = std::max(width - rightPadding, 1.0);
  layout.shownBars = std::min(barCount, fittingBars(usable));
  layout.firstBar = barCount - layout.shownBars;
  layout.scaledFirstBar = barCount - std::min(barCount, fittingBars(std::max(width - margin, 1.0)));
  layout.barSpacing_px = layout.shownBars > 0
                             ? std::min(usable / layout.shownBars, kMaxBarSpacing_px)
                             : kMaxBarSpacing_px;
  layout.barsRight = plot.right - rightPadding;
  layout.newestBarX = layout.barsRight - layout.barSpacing_px / 2.0;
}

// Prices of the horizontal-line drawings and of the level series over the
// bars the range is fitted to: what the price range may widen to take in.
std::vector<float> levelPrices(StudyInstance& instance, const PictureLayout& layout) {
  std::vector<float> prices;
  for (const ChartDrawing& drawing : instance.chart().drawings().all()) {
    if (drawing.record.drawingKind == kDrawingKindHorizontalLine) {
      prices.push_back(drawing.record.price);
    }
  }
  forEachLineSeries(instance, [&](const HostSubgraph& subgraph) {
    for (int32_t bar = layout.scaledFirstBar; bar < layout.endBar() && bar < subgraph.valueCount; ++bar) {
      if (subgraph.values[bar] != 0.0f) prices.push_back(subgraph.values[bar]);
    }
  });
  return prices;
}

}  // namespace

PictureLayout planPictureLayout(StudyInstance& instance, int32_t width_px, int32_t height_px,
                                int32_t rightSpace_percent) {
  const Chart& chart = instance.chart();
  PictureLayout layout;
  layout.width_px = std::clamp(width_px, 1, kMaxPictureSide_px);
  layout.height_px = std::clamp(height_px, 1, kMaxPictureSide_px);
  layout.plot = plotAreaFor(layout.width_px, layout.height_px, priceAxisWidth(chart));
  placeBars(layout, static_cast<int32_t>(chart.bars().size()), rightSpace_percent);

  const std::span<const Bar> scaled(chart.bars().data() + layout.scaledFirstBar,
                                    static_cast<std::size_t>(layout.endBar() - layout.scaledFirstBar));
  const std::vector<float> levels = levelPrices(instance, layout);
  const PriceRange range = fitPriceRange(scaled, levels, chart.tickSize());
  layout.lowPrice = range.low;
  layout.highPrice = range.high;
  return layout;
}

}  // namespace chart_host
