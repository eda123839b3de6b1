// The chart as a person sees it: candlesticks with price and time axes, the
// study's level series as lines across the bars they cover, the chart
// drawings with their labels, and the study's own graphics on top of the
// plotting area, rendered to a PNG file with cairo.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace chart_host {

class StudyInstance;

// The empty space right of the newest bar, in percent of the plot's width, as
// charting programs leave it: the study's profile reaches back from its origin
// at three quarters of the plot by its scale of a quarter, so at its default
// inputs it takes the right half; a little more keeps the newest candle clear
// of the largest bar and its dot.
inline constexpr int32_t kDefaultRightSpace_percent = 55;
inline constexpr int32_t kMaxRightSpace_percent = 90;

// Where an alert fired: at the bar that holds `barTime` (the chart's time of
// its start) and at `price`; an upward or downward triangle for a crossing
// that way, a diamond for a price that came near a level, with a short label
// (the level's name). A mark on a bar not shown is left out.
struct AlertMark {
  enum class Shape { Up, Down, Near };
  int64_t barTime = 0;
  float price = 0;
  Shape shape = Shape::Near;
  std::string label;
};

struct ChartPictureOptions {
  // Shown at the top left, e.g. "ES_SPX  ·  GEX  ·  90d agg Gex".
  std::string title;
  // Shorter forms of the title, each shorter than the one before, for a
  // picture too narrow for it: the first that fits whole is shown.
  std::vector<std::string> shorterTitles;
  // How old the levels drawn are, at the right of the title bar, e.g.
  // "levels as of 10:20:05, 40 s ago"; nothing when empty.
  std::string dataAge;
  // A red mark beside it for levels a trader must not take for live ones,
  // e.g. "STALE"; nothing when empty.
  std::string warning;
  // How old the price is, left of the levels' age, e.g. "price as of
  // 10:20:00, 5 s ago", and its red mark, e.g. "PRICE STALE"; nothing when empty.
  std::string priceAge;
  std::string priceWarning;
  // Across the middle of the plot, for a chart that has no levels to show,
  // e.g. "no answer from the service"; nothing when empty.
  std::string plotNotice;
  // Lines at the top of the plot for what a trader must read while levels
  // are drawn, e.g. a refusal of the service's answers.
  std::vector<std::string> banners;
  // Levels that are not live (STALE, requests halted): their lines, labels
  // and tags are drawn muted, never in live colours.
  bool levelsMuted = false;
  // The alerts of the run, oldest first, marked where they fired.
  std::vector<AlertMark> alertMarks;
  // The names of level lines by line number, for the tags of levels beyond
  // the price range; a line without one is named by its label.
  std::map<int32_t, std::string> levelNames;
  // 0..kMaxRightSpace_percent; values beyond are clamped into it.
  int32_t rightSpace_percent = kDefaultRightSpace_percent;
  int32_t width = 1600;
  int32_t height = 900;
};

// Lays the chart out for a picture of this size: the plotting area inside
// the axes and the price range that fits the bars shown and the levels near
// them. Done before the repaint that draws the study, so the study's pixels
// and the picture's agree: chart.priceToY(p) is the picture's row of price p.
// A size outside 1..16000 pixels a side is clamped into it.
void layOutChartPicture(StudyInstance& instance, const ChartPictureOptions& options);

// Lays the chart out, repaints the study onto the picture and encodes it as
// PNG bytes in `png` (the programs write them into a file whole). False with
// a one-line reason when the picture cannot be drawn: a size outside 1..16000
// pixels a side or above 64 million pixels.
bool chartPicturePng(StudyInstance& instance, const ChartPictureOptions& options, std::string& png,
                     std::string& error);

}  // namespace chart_host
