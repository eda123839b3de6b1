// Where things stand on a chart picture of a given size: the plotting area
// between the title bar, the price axis and the time axis; which bars are
// shown (all when they fit at a readable spacing, else the newest that fit),
// evenly spaced with the newest at the right of the bars' part of the plot,
// an empty space for the study's profile beyond it; and the price range,
// fitted to the bars a chart without that space would show, so the space
// moves the bars and never the price scale (nor the study's pixels). Pixel
// coordinates are the picture's and the chart's alike.
#pragma once

#include <cstdint>

#include "host/chart.h"
#include "host/picture/chart_picture.h"

namespace chart_host {

class StudyInstance;

struct PictureLayout {
  int32_t width_px = 0;
  int32_t height_px = 0;
  PlotArea plot{};
  int32_t firstBar = 0;   // the oldest bar shown
  int32_t shownBars = 0;  // 0 when the chart has none
  int32_t scaledFirstBar = 0;  // the oldest bar the price range takes in
  double barSpacing_px = 0.0;
  double newestBarX = 0.0;  // the newest bar's centre
  double barsRight = 0.0;   // where the bars' part of the plot ends and the empty space begins
  float lowPrice = 0.0f;
  float highPrice = 1.0f;

  int32_t endBar() const { return firstBar + shownBars; }
  double barCentreX(int32_t barIndex) const {
    return newestBarX - (endBar() - 1 - barIndex) * barSpacing_px;
  }
};

// Sizes outside 1..kMaxPictureSide_px are clamped into it, the space right
// of the newest bar into 0..kMaxRightSpace_percent of the plot's width.
PictureLayout planPictureLayout(StudyInstance& instance, int32_t width_px, int32_t height_px,
                                int32_t rightSpace_percent = kDefaultRightSpace_percent);

// The widest or tallest picture drawn.
inline constexpr int32_t kMaxPictureSide_px = 16000;

}  // namespace chart_host
