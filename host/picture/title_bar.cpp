#include "host/picture/title_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/picture/candles.h"
#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

constexpr double kLeftInset_px = 12.0;
constexpr double kGap_px = 22.0;
constexpr double kWarningPadding_px = 7.0;

// Draws "name value" pairs from x on; returns where the next would start.
double drawQuote(cairo_t* cr, double x, double top, const char* name, const std::string& value,
                 HostColor color) {
  selectFont(cr, picture_theme::kQuoteFont_px);
  drawText(cr, x, top, name, picture_theme::kAxisText);
  x += textWidth(cr, name) + 4.0;
  drawText(cr, x, top, value, color);
  return x + textWidth(cr, value) + 10.0;
}

// The levels' age and the warning, right-aligned at `right`, the warning a
// red box with bold white text; returns where they begin.
double drawDataAge(cairo_t* cr, const ChartPictureOptions& options, double height, double right) {
  using namespace picture_theme;
  double x = right;
  if (!options.warning.empty()) {
    selectFont(cr, kTitleFont_px, true);
    const double width = std::round(textWidth(cr, options.warning) + 2.0 * kWarningPadding_px);
    const double boxHeight = std::round(lineHeight(cr) + 6.0);
    const double top = std::round((height - boxHeight) / 2.0);
    x -= width;
    fillPixels(cr, x, top, x + width, top + boxHeight, kWarning);
    drawText(cr, x + kWarningPadding_px, top + 3.0, options.warning, kWarningText);
    x -= kWarningPadding_px;
  }
  if (!options.dataAge.empty()) {
    selectFont(cr, kQuoteFont_px);
    x -= textWidth(cr, options.dataAge);
    drawText(cr, x, (height - lineHeight(cr)) / 2.0, options.dataAge,
             options.warning.empty() ? kAxisText : kWarning);
  }
  return x;
}

// The title and the newest bar's quote, from the left.
void drawTitleAndQuote(cairo_t* cr, const Chart& chart, const std::string& title,
                       const PictureLayout& layout, double height) {
  double x = kLeftInset_px;
  selectFont(cr, picture_theme::kTitleFont_px, true);
  if (!title.empty()) {
    drawText(cr, x, (height - lineHeight(cr)) / 2.0, title, picture_theme::kTitleText);
    x += textWidth(cr, title) + kGap_px;
  }
  if (layout.shownBars <= 0) return;

  const Bar& bar = chart.bars()[layout.endBar() - 1];
  if (!std::isfinite(bar.open) || !std::isfinite(bar.high) || !std::isfinite(bar.low) ||
      !std::isfinite(bar.close)) {
    return;
  }
  const HostColor color = candleColor(bar);
  const float tick = chart.tickSize();
  selectFont(cr, picture_theme::kQuoteFont_px);
  const double top = (height - lineHeight(cr)) / 2.0;
  x = drawQuote(cr, x, top, "O", formatPrice(bar.open, tick), color);
  x = drawQuote(cr, x, top, "H", formatPrice(bar.high, tick), color);
  x = drawQuote(cr, x, top, "L", formatPrice(bar.low, tick), color);
  x = drawQuote(cr, x, top, "C", formatPrice(bar.close, tick), color);
  if (layout.endBar() < 2) return;
  const float before = chart.bars()[layout.endBar() - 2].close;
  if (!(before != 0.0f) || !std::isfinite(before)) return;
  const double change = static_cast<double>(bar.close) - before;
  const std::string sign = change > 0.0 ? "+" : "";
  char percent[32];
  std::snprintf(percent, sizeof percent, " (%s%.2f%%)", sign.c_str(), change / before * 100.0);
  drawText(cr, x, top, sign + formatPrice(change, tick) + percent,
           change >= 0.0 ? picture_theme::kUpCandle : picture_theme::kDownCandle);
}

}  // namespace

void drawTitleBar(cairo_t* cr, const Chart& chart, const ChartPictureOptions& options,
                  const PictureLayout& layout) {
  const double height = layout.plot.top;
  if (height < 12.0) return;
  const bool dated = !options.dataAge.empty() || !options.warning.empty();
  const double ageStart = drawDataAge(cr, options, height, layout.width_px - kLeftInset_px);
  // What the left side has no room for is cut off before the age, never drawn over it.
  const double leftEnd = dated ? std::max(ageStart - kGap_px, 0.0) : layout.width_px;
  cairo_save(cr);
  cairo_rectangle(cr, 0.0, 0.0, leftEnd, height);
  cairo_clip(cr);
  drawTitleAndQuote(cr, chart, options.title, layout, height);
  cairo_restore(cr);
}

}  // namespace chart_host
