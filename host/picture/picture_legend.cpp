#include "host/picture/picture_legend.h"

#include <algorithm>
#include <cmath>

#include "host/picture/level_series.h"
#include "host/picture/picture_text.h"
#include "host/picture/picture_theme.h"
#include "host/study_instance.h"

namespace chart_host {

namespace {

constexpr double kInset_px = 8.0;
constexpr double kPadding_px = 5.0;
constexpr double kSwatch_px = 12.0;
constexpr double kSwatchGap_px = 5.0;
constexpr double kEntryGap_px = 12.0;
constexpr double kRowGap_px = 1.0;
constexpr double kFont_px = 11.0;
// The legend never narrows below this, however little room the bars leave.
constexpr double kMinWidth_px = 180.0;

// Whether the series' line shows: a value over the bars shown inside the price range.
bool showsOverShownBars(const HostSubgraph& subgraph, const PictureLayout& layout) {
  for (int32_t bar = layout.firstBar; bar < layout.endBar() && bar < subgraph.valueCount; ++bar) {
    const float value = subgraph.values[bar];
    if (value != 0.0f && value >= layout.lowPrice && value <= layout.highPrice) return true;
  }
  return false;
}

void drawSwatch(cairo_t* cr, LegendMark mark, double left, double middle, HostColor color) {
  const double centre = left + kSwatch_px / 2.0;
  switch (mark) {
    case LegendMark::Bar:
      fillPixels(cr, left, std::round(middle) - 2, left + kSwatch_px, std::round(middle) + 2, color);
      return;
    case LegendMark::Line:
      fillPixels(cr, left, std::round(middle) - 1, left + kSwatch_px, std::round(middle) + 1, color);
      return;
    case LegendMark::Square:
      fillPixels(cr, centre - 4, std::round(middle) - 4, centre + 4, std::round(middle) + 4, color);
      return;
    case LegendMark::Diamond:
      cairo_move_to(cr, centre, middle - 5.0);
      cairo_line_to(cr, centre + 5.0, middle);
      cairo_line_to(cr, centre, middle + 5.0);
      cairo_line_to(cr, centre - 5.0, middle);
      cairo_close_path(cr);
      break;
    case LegendMark::Circle:
      cairo_new_path(cr);
      cairo_arc(cr, centre, middle, 4.5, 0.0, 2.0 * M_PI);
      break;
  }
  setColor(cr, color);
  cairo_fill(cr);
}

struct PlacedEntry {
  const LegendEntry* entry;
  double left;
  double top;
};

}  // namespace

std::vector<LegendEntry> legendEntries(StudyInstance& instance, const PictureLayout& layout,
                                       const StudyGraphics& study) {
  std::vector<LegendEntry> entries;
  for (const ColourSource& source : study.colours)
    entries.push_back({source.name, source.color, source.mark});
  forEachLineSeries(instance, [&](const HostSubgraph& subgraph) {
    if (showsOverShownBars(subgraph, layout))
      entries.push_back({hostStringText(subgraph.name), subgraph.primaryColor & 0xFFFFFFu, LegendMark::Line});
  });
  return entries;
}

double drawLegend(cairo_t* cr, const std::vector<LegendEntry>& entries, const PictureLayout& layout) {
  if (entries.empty()) return layout.plot.top;
  const PlotArea& plot = layout.plot;
  selectFont(cr, kFont_px);
  const double rowHeight = std::ceil(std::max(lineHeight(cr), kSwatch_px)) + kRowGap_px;
  const double roomy = std::max(layout.barsRight - plot.left - 2.0 * kInset_px, kMinWidth_px);
  const double maxWidth = std::min(roomy, plot.right - plot.left - 2.0 * kInset_px) - 2.0 * kPadding_px;

  std::vector<PlacedEntry> placed;
  double x = 0.0;
  double y = 0.0;
  double widest = 0.0;
  for (const LegendEntry& entry : entries) {
    const double width = kSwatch_px + kSwatchGap_px + textWidth(cr, entry.name);
    if (x > 0.0 && x + width > maxWidth) {
      x = 0.0;
      y += rowHeight;
    }
    placed.push_back({&entry, x, y});
    widest = std::max(widest, x + width);
    x += width + kEntryGap_px;
  }
  const double left = plot.left + kInset_px;
  const double top = plot.top + kInset_px;
  const double right = std::ceil(left + widest + 2.0 * kPadding_px);
  const double bottom = std::ceil(top + y + rowHeight - kRowGap_px + 2.0 * kPadding_px);
  cairo_save(cr);
  cairo_rectangle(cr, left, top, right - left, bottom - top);
  setColor(cr, picture_theme::kBackground, 0.85);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  setColor(cr, picture_theme::kAxisLine);
  cairo_stroke(cr);
  cairo_restore(cr);
  for (const PlacedEntry& at : placed) {
    const double entryLeft = left + kPadding_px + at.left;
    const double entryTop = top + kPadding_px + at.top;
    const double middle = entryTop + (rowHeight - kRowGap_px) / 2.0;
    drawSwatch(cr, at.entry->mark, entryLeft, middle, at.entry->color);
    drawText(cr, entryLeft + kSwatch_px + kSwatchGap_px, middle - lineHeight(cr) / 2.0, at.entry->name,
             picture_theme::kTitleText);
  }
  return bottom;
}

}  // namespace chart_host
