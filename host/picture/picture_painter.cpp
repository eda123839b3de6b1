#include "host/picture/picture_painter.h"

#include <cmath>
#include <vector>

#include "host/picture/alert_marks.h"
#include "host/picture/axis_tags.h"
#include "host/picture/cairo_canvas.h"
#include "host/picture/candles.h"
#include "host/picture/level_lines.h"
#include "host/picture/level_series.h"
#include "host/picture/picture_legend.h"
#include "host/picture/picture_text.h"
#include "host/picture/plot_notice.h"
#include "host/picture/picture_theme.h"
#include "host/picture/price_axis.h"
#include "host/picture/study_graphics_probe.h"
#include "host/picture/time_axis.h"
#include "host/picture/title_bar.h"
#include "host/study_instance.h"

namespace chart_host {

namespace {

void clipToPlot(cairo_t* cr, const PlotArea& plot) {
  cairo_rectangle(cr, plot.left, plot.top, plot.right - plot.left, plot.bottom - plot.top);
  cairo_clip(cr);
}

void drawPanels(cairo_t* cr, const PictureLayout& layout) {
  using namespace picture_theme;
  const PlotArea& plot = layout.plot;
  fillPixels(cr, 0, 0, layout.width_px, layout.height_px, kBackground);
  fillPixels(cr, plot.right, plot.top, layout.width_px, layout.height_px, kAxisBackground);
  fillPixels(cr, plot.left, plot.bottom, plot.right, layout.height_px, kAxisBackground);
  fillPixels(cr, 0, plot.top - 1, layout.width_px, plot.top, kAxisLine);
  fillPixels(cr, plot.right, plot.top, plot.right + 1, layout.height_px, kAxisLine);
  fillPixels(cr, plot.left, plot.bottom, plot.right, plot.bottom + 1, kAxisLine);
}

void drawGrid(cairo_t* cr, const Chart& chart, const PriceTicks& prices,
              const std::vector<TimeTick>& times, const PlotArea& plot) {
  for (double price : prices.prices) {
    const int32_t row = chart.priceToY(static_cast<float>(price));
    fillPixels(cr, plot.left, row, plot.right, row + 1, picture_theme::kGrid);
  }
  for (const TimeTick& tick : times) {
    const double x = std::floor(tick.x);
    fillPixels(cr, x, plot.top, x + 1, plot.bottom, picture_theme::kGrid);
  }
}

// A dotted line at the newest close, in the newest candle's colour, and its
// tag on the axis, which no other tag may cover.
void markLastPrice(cairo_t* cr, const Chart& chart, const PictureLayout& layout,
                   std::vector<AxisTag>& tags) {
  if (layout.shownBars <= 0) return;
  const Bar& bar = chart.bars()[layout.endBar() - 1];
  if (!std::isfinite(bar.close)) return;
  const int32_t row = chart.priceToY(bar.close);
  const PlotArea& plot = layout.plot;
  if (row < plot.top || row >= plot.bottom) return;
  const HostColor color = candleColor(bar);
  for (int32_t x = plot.left; x < plot.right; x += 4) fillPixels(cr, x, row, x + 1, row + 1, color);
  tags.push_back({row, color, formatPrice(bar.close, chart.tickSize()), true});
}

}  // namespace

void paintChartPicture(cairo_t* cr, StudyInstance& instance, const ChartPictureOptions& options,
                       const PictureLayout& layout) {
  const Chart& chart = instance.chart();
  const PlotArea& plot = layout.plot;
  drawPanels(cr, layout);
  const PriceTicks prices = choosePriceTicks(layout);
  const std::vector<TimeTick> times = chooseTimeTicks(cr, chart, layout);
  std::vector<AxisTag> tags;
  const StudyGraphics study = probeStudyGraphics(instance);

  cairo_save(cr);
  clipToPlot(cr, plot);
  drawGrid(cr, chart, prices, times, plot);
  drawCandles(cr, chart, layout);
  drawLineSeries(cr, instance, layout);
  const std::vector<PlacedLabel> labels =
      drawLevelLines(cr, chart, layout, options.levelNames, study, options.levelsMuted, tags);
  markLastPrice(cr, chart, layout, tags);
  CairoCanvas canvas(cr);
  instance.paint(&canvas);
  // Over the study's graphics, under the levels' labels, which they keep clear of.
  drawAlertMarks(cr, chart, layout, options.alertMarks, labels);
  drawLevelLabels(cr, labels);
  const double belowLegend = drawLegend(cr, legendEntries(instance, layout, study), layout);
  drawPlotNotice(cr, options.plotNotice, plot);
  // Below the legend, which they would otherwise cover.
  drawPlotBanners(cr, options.banners, plot, belowLegend);
  cairo_restore(cr);

  const std::vector<PlacedTag> placedTags = placeAxisTags(cr, std::move(tags), layout);
  drawPriceAxis(cr, chart, prices, placedTags, layout);
  drawTimeAxis(cr, times, layout);
  drawAxisTags(cr, placedTags, layout);
  drawTitleBar(cr, chart, options, layout);
}

}  // namespace chart_host
