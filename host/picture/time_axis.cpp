#include "host/picture/time_axis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "host/picture/calendar_time.h"
#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kRoundSteps_s[] = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                     600, 900, 1800, 3600, 7200, 10800, 14400, 21600, 43200};
// Labels closer than this read as one run of digits.
constexpr double kMinLabelDistance_px = 90.0;
constexpr double kLabelGap_px = 12.0;

// The usual time between bars shown: the median gap, a minute when unknown.
double typicalBarSeconds(const Chart& chart, const PictureLayout& layout) {
  std::vector<int64_t> gaps;
  for (int32_t bar = layout.firstBar + 1; bar < layout.endBar(); ++bar) {
    const int64_t gap = chart.bars()[bar].dateTime - chart.bars()[bar - 1].dateTime;
    if (gap > 0) gaps.push_back(gap);
  }
  if (gaps.empty()) return 60.0;
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  return static_cast<double>(gaps[gaps.size() / 2]) / kMicrosecondsPerSecond;
}

// The round step in seconds, or a whole day when labels only fit per day.
int64_t chooseStep(const Chart& chart, const PictureLayout& layout) {
  const double pixelsPerSecond = layout.barSpacing_px / typicalBarSeconds(chart, layout);
  for (int64_t step : kRoundSteps_s) {
    if (step * pixelsPerSecond >= kMinLabelDistance_px) return step;
  }
  return kSecondsPerDay;
}

std::string clockText(const CalendarTime& time) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", time.hour, time.minute);
  return text;
}

std::string dateText(const CalendarTime& time) {
  char text[24];
  std::snprintf(text, sizeof text, "%s %d", monthAbbreviation(time.month), time.day);
  return text;
}

}  // namespace

std::vector<TimeTick> chooseTimeTicks(cairo_t* cr, const Chart& chart,
                                      const PictureLayout& layout) {
  std::vector<TimeTick> ticks;
  if (layout.shownBars <= 0) return ticks;
  const int64_t step = chooseStep(chart, layout);
  selectFont(cr, picture_theme::kAxisFont_px, true);

  std::vector<double> halfWidths;
  for (int32_t bar = layout.firstBar; bar < layout.endBar(); ++bar) {
    const CalendarTime time = calendarTime(chart.bars()[bar].dateTime);
    bool newDay = false;
    bool boundary = false;
    if (bar > 0) {
      const CalendarTime before = calendarTime(chart.bars()[bar - 1].dateTime);
      newDay = time.dayNumber != before.dayNumber;
      boundary = newDay || time.secondOfDay / step != before.secondOfDay / step;
    } else {
      boundary = time.secondOfDay % step == 0;
      newDay = time.secondOfDay == 0;
    }
    if (!boundary) continue;

    TimeTick tick{layout.barCentreX(bar), newDay ? dateText(time) : clockText(time), newDay};
    const double halfWidth = textWidth(cr, tick.text) / 2.0;
    if (tick.x - halfWidth < layout.plot.left || tick.x + halfWidth > layout.width_px) continue;
    if (!ticks.empty() && tick.x - halfWidth - kLabelGap_px < ticks.back().x + halfWidths.back()) {
      // Too close to the label before: a date wins over a time.
      if (!tick.isDate || ticks.back().isDate) continue;
      ticks.pop_back();
      halfWidths.pop_back();
    }
    ticks.push_back(std::move(tick));
    halfWidths.push_back(halfWidth);
  }
  return ticks;
}

void drawTimeAxis(cairo_t* cr, const std::vector<TimeTick>& ticks, const PictureLayout& layout) {
  const PlotArea& plot = layout.plot;
  for (const TimeTick& tick : ticks) {
    const double x = std::floor(tick.x);
    fillPixels(cr, x, plot.bottom, x + 1, plot.bottom + 4, picture_theme::kAxisLine);
    selectFont(cr, picture_theme::kAxisFont_px, tick.isDate);
    const double width = textWidth(cr, tick.text);
    drawText(cr, tick.x - width / 2.0, plot.bottom + 7, tick.text,
             tick.isDate ? picture_theme::kTitleText : picture_theme::kAxisText);
  }
}

}  // namespace chart_host
