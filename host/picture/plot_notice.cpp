#include "host/picture/plot_notice.h"

#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

constexpr double kNoticePadding_px = 14.0;
constexpr double kBorder_px = 1.0;

}  // namespace

void drawPlotNotice(cairo_t* cr, const std::string& text, const PlotArea& plot) {
  using namespace picture_theme;
  if (text.empty()) return;
  selectFont(cr, kTitleFont_px, true);
  const double width = std::round(textWidth(cr, text) + 2.0 * kNoticePadding_px);
  const double height = std::round(lineHeight(cr) + 2.0 * kNoticePadding_px);
  const double left = std::round((plot.left + plot.right - width) / 2.0);
  const double top = std::round((plot.top + plot.bottom - height) / 2.0);
  fillPixels(cr, left - kBorder_px, top - kBorder_px, left + width + kBorder_px, top + height + kBorder_px,
             kAxisLine);
  fillPixels(cr, left, top, left + width, top + height, kLabelBox);
  drawText(cr, left + kNoticePadding_px, top + kNoticePadding_px, text, kTitleText);
}

}  // namespace chart_host
