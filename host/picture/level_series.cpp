#include "host/picture/level_series.h"

#include <algorithm>
#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"
#include "host/study_instance.h"

namespace chart_host {

namespace {


// The row of a price, kept just outside the plot when the price lies beyond
// it, so far prices still join up to the edge without huge coordinates.
int32_t rowOf(const Chart& chart, const PlotArea& plot, float price) {
  return std::clamp(chart.priceToY(price), plot.top - picture_theme::kWidestLine_px, plot.bottom + picture_theme::kWidestLine_px);
}

}  // namespace

void forEachLineSeries(StudyInstance& instance,
                       const std::function<void(const HostSubgraph&)>& visit) {
  const int32_t count = instance.record().subgraphCount;
  for (int32_t i = 0; i < count; ++i) {
    const HostSubgraph& subgraph = instance.subgraph(i);
    if (subgraph.drawStyle == kLineDrawStyle && subgraph.values != nullptr) visit(subgraph);
  }
}

void drawLineSeries(cairo_t* cr, StudyInstance& instance, const PictureLayout& layout) {
  const Chart& chart = instance.chart();
  forEachLineSeries(instance, [&](const HostSubgraph& subgraph) {
    const int32_t width = std::clamp(subgraph.lineWidth, 1, picture_theme::kWidestLine_px);
    const int32_t above = width / 2;  // the line's rows start this far above its price's row
    bool joined = false;              // the bar before had a value
    int32_t previousRow = 0;
    for (int32_t bar = layout.firstBar; bar < layout.endBar(); ++bar) {
      const float value = bar < subgraph.valueCount ? subgraph.values[bar] : 0.0f;
      if (value == 0.0f || !std::isfinite(value)) {
        joined = false;
        continue;
      }
      const int32_t row = rowOf(chart, layout.plot, value);
      const double centre = layout.barCentreX(bar);
      const double left = std::round(centre - layout.barSpacing_px / 2.0);
      const double right = std::round(centre + layout.barSpacing_px / 2.0);
      fillPixels(cr, left, row - above, right, row - above + width, subgraph.primaryColor);
      if (joined && previousRow != row) {
        // A level that moved between two bars: a step, not a slope.
        const int32_t from = std::min(previousRow, row) - above;
        const int32_t to = std::max(previousRow, row) - above + width;
        fillPixels(cr, left - above, from, left - above + width, to, subgraph.primaryColor);
      }
      joined = true;
      previousRow = row;
    }
  });
}

}  // namespace chart_host
