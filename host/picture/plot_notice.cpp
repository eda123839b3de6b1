#include "host/picture/plot_notice.h"

#include <cmath>

#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

constexpr double kNoticePadding_px = 14.0;
constexpr double kBorder_px = 1.0;
constexpr double kBannerPadding_px = 5.0;

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

void drawPlotBanners(cairo_t* cr, const std::vector<std::string>& banners, const PlotArea& plot, double top) {
  using namespace picture_theme;
  selectFont(cr, kQuoteFont_px, true);
  const double height = std::round(lineHeight(cr) + 2.0 * kBannerPadding_px);
  top = std::round(top + kBannerPadding_px);
  for (const std::string& text : banners) {
    const double width = std::round(textWidth(cr, text) + 2.0 * kBannerPadding_px);
    const double left = std::round((plot.left + plot.right - width) / 2.0);
    fillPixels(cr, left - kBorder_px, top - kBorder_px, left + width + kBorder_px, top + height + kBorder_px, kWarning);
    fillPixels(cr, left, top, left + width, top + height, kLabelBox);
    drawText(cr, left + kBannerPadding_px, top + kBannerPadding_px, text, kWarning);
    top += height + kBannerPadding_px;
  }
}

}  // namespace chart_host
