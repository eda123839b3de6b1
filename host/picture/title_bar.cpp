#include "host/picture/title_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/picture/candles.h"
#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

constexpr double kLeftInset_px = 12.0;
constexpr double kGap_px = 22.0;
constexpr double kWarningPadding_px = 7.0;

// An age and its warning, right-aligned at `right`, the warning a red box
// with bold white text, drawn when `draw`; returns where they begin.
double layAge(cairo_t* cr, const std::string& age, const std::string& warning, double height, double right,
              bool draw) {
  using namespace picture_theme;
  double x = right;
  if (!warning.empty()) {
    selectFont(cr, kTitleFont_px, true);
    const double width = std::round(textWidth(cr, warning) + 2.0 * kWarningPadding_px);
    const double boxHeight = std::round(lineHeight(cr) + 6.0);
    const double top = std::round((height - boxHeight) / 2.0);
    x -= width;
    if (draw) {
      fillPixels(cr, x, top, x + width, top + boxHeight, kWarning);
      drawText(cr, x + kWarningPadding_px, top + 3.0, warning, kWarningText);
    }
    x -= kWarningPadding_px;
  }
  if (!age.empty()) {
    selectFont(cr, kQuoteFont_px);
    x -= textWidth(cr, age);
    if (draw) drawText(cr, x, (height - lineHeight(cr)) / 2.0, age, warning.empty() ? kAxisText : kWarning);
  }
  return x;
}

// The levels' age and warning at the right end, the price's left of them.
double layDataAge(cairo_t* cr, const ChartPictureOptions& options, double height, double right, bool draw) {
  double x = layAge(cr, options.dataAge, options.warning, height, right, draw);
  if (options.priceAge.empty() && options.priceWarning.empty()) return x;
  if (x < right) x -= kGap_px;
  return layAge(cr, options.priceAge, options.priceWarning, height, x, draw);
}

struct QuotePart {
  std::string name;  // "O", or empty for the change
  std::string value;
  HostColor color;
};

// The newest bar's open, high, low, close and change from the bar before;
// with `closeOnly` its close and change only. None for a bar without prices.
std::vector<QuotePart> quoteParts(const Chart& chart, const PictureLayout& layout, bool closeOnly) {
  if (layout.shownBars <= 0) return {};
  const Bar& bar = chart.bars()[layout.endBar() - 1];
  if (!std::isfinite(bar.open) || !std::isfinite(bar.high) || !std::isfinite(bar.low) ||
      !std::isfinite(bar.close)) {
    return {};
  }
  const HostColor color = candleColor(bar);
  const float tick = chart.tickSize();
  std::vector<QuotePart> parts;
  if (!closeOnly) {
    parts.push_back({"O", formatPrice(bar.open, tick), color});
    parts.push_back({"H", formatPrice(bar.high, tick), color});
    parts.push_back({"L", formatPrice(bar.low, tick), color});
  }
  parts.push_back({"C", formatPrice(bar.close, tick), color});
  if (layout.endBar() < 2) return parts;
  const float before = chart.bars()[layout.endBar() - 2].close;
  if (!(before != 0.0f) || !std::isfinite(before)) return parts;
  const double change = static_cast<double>(bar.close) - before;
  const std::string sign = change > 0.0 ? "+" : "";
  char percent[32];
  std::snprintf(percent, sizeof percent, " (%s%.2f%%)", sign.c_str(), change / before * 100.0);
  parts.push_back({"", sign + formatPrice(change, tick) + percent,
                   change >= 0.0 ? picture_theme::kUpCandle : picture_theme::kDownCandle});
  return parts;
}

// Draws the parts from x on when `draw`; returns their width.
double layQuote(cairo_t* cr, const std::vector<QuotePart>& parts, double x, double top, bool draw) {
  selectFont(cr, picture_theme::kQuoteFont_px);
  const double start = x;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const QuotePart& part = parts[i];
    if (!part.name.empty()) {
      if (draw) drawText(cr, x, top, part.name, picture_theme::kAxisText);
      x += textWidth(cr, part.name) + 4.0;
    }
    if (draw) drawText(cr, x, top, part.value, part.color);
    x += textWidth(cr, part.value) + (i + 1 < parts.size() ? 10.0 : 0.0);
  }
  return x - start;
}

std::string fittingTitle(cairo_t* cr, const ChartPictureOptions& options, double room_px) {
  selectFont(cr, picture_theme::kTitleFont_px, true);
  if (textWidth(cr, options.title) <= room_px) return options.title;
  for (const std::string& shorter : options.shorterTitles) {
    if (textWidth(cr, shorter) <= room_px) return shorter;
  }
  return {};
}

// Where the title bar's left side must end: before the levels' age.
double leftSideEnd(cairo_t* cr, const ChartPictureOptions& options, const PictureLayout& layout) {
  const double right = layout.width_px - kLeftInset_px;
  if (options.dataAge.empty() && options.warning.empty() && options.priceAge.empty() &&
      options.priceWarning.empty())
    return right;
  return std::max(layDataAge(cr, options, 0.0, right, false) - kGap_px, 0.0);
}

// The title that fits, then the newest bar's quote if it fits whole.
void drawTitleAndQuote(cairo_t* cr, const Chart& chart, const ChartPictureOptions& options,
                       const PictureLayout& layout, double height) {
  const double right = leftSideEnd(cr, options, layout);
  double x = kLeftInset_px;
  const std::string title = shownTitle(cr, options, layout);
  if (!title.empty()) {
    selectFont(cr, picture_theme::kTitleFont_px, true);
    drawText(cr, x, (height - lineHeight(cr)) / 2.0, title, picture_theme::kTitleText);
    x += textWidth(cr, title) + kGap_px;
  }
  selectFont(cr, picture_theme::kQuoteFont_px);
  const double top = (height - lineHeight(cr)) / 2.0;
  for (bool closeOnly : {false, true}) {
    const std::vector<QuotePart> parts = quoteParts(chart, layout, closeOnly);
    if (!parts.empty() && x + layQuote(cr, parts, x, top, false) <= right) {
      layQuote(cr, parts, x, top, true);
      return;
    }
  }
}

}  // namespace

std::string shownTitle(cairo_t* cr, const ChartPictureOptions& options, const PictureLayout& layout) {
  return fittingTitle(cr, options, leftSideEnd(cr, options, layout) - kLeftInset_px);
}

void drawTitleBar(cairo_t* cr, const Chart& chart, const ChartPictureOptions& options,
                  const PictureLayout& layout) {
  const double height = layout.plot.top;
  if (height < 12.0) return;
  layDataAge(cr, options, height, layout.width_px - kLeftInset_px, true);
  // The left side stops before the age, never drawn over it, and shows
  // nothing it has no room for whole.
  drawTitleAndQuote(cr, chart, options, layout, height);
}

}  // namespace chart_host
