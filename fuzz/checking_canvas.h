// A canvas that checks a repaint shape by shape. It records what the study
// paints on the host's recording canvas; shapes come in groups closed by the
// host's resets: a bar (one or more rectangles) by resets 3, 2, 1, a prior dot
// (a square, an ellipse, or a brush and a diamond) by 6, 4, 5, 3, 2, 1. Each
// closed group is checked against the paint rules (its colour, its style's
// pattern, and where it lies in the plot) and then dropped, so only the group
// under way is kept: at most a few hundred pieces, since dotted and dashed
// bars are only asked for on plots a few thousand pixels wide.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "host/recording_canvas.h"
#include "support/drawing_settings.h"

using namespace chart_host;

namespace fuzz {

// What one repaint may paint, read from the settings it runs with: the plot,
// which series' bars (told apart by colour) in which style, which prior dots
// and in what shape and size. Worked out from the settings alone, not from
// the drawing code.
struct PaintRules {
  PlotArea plot;
  std::array<bool, kSeriesCount> seriesDrawn{};
  std::array<int32_t, kSeriesCount> barStyles{};
  std::array<bool, kPriorDotCount> dotsDrawn{};
  int32_t dotStyle = 0;
  int32_t dotRadius = 1;
  // Series passes over the strikes (two when GEX volume and OI share a plot);
  // the prior dot of a strike's first prior, -1 when no priors are drawn.
  int32_t passes = 0;
  int32_t firstDot = -1;
};

PaintRules paintRulesOf(const DrawingSettings& settings);

// The drawn series, by settings index, whose colour is `color`; -1 for none.
int32_t seriesOfColor(const PaintRules& rules, HostColor color);
// Whether `color` belongs to a prior dot that may be drawn.
bool isDrawnDotColor(const PaintRules& rules, HostColor color);

// Whether the plot has room for anything: the study draws nothing on a plot
// without width or whose right or bottom edge is at or before pixel 0, and
// bars and dots need a pixel row strictly between the top and the bottom.
bool plotHasRoom(const PlotArea& plot);

class CheckingCanvas : public RecordingCanvas {
 public:
  explicit CheckingCanvas(const PaintRules& rules) : rules_(rules) {}

  void resetGraphicsState(int32_t which) override;

  // The repaint is over: no shape may be left without its resets.
  void finish() const;

  int32_t bars() const { return bars_; }
  int32_t dots() const { return dots_; }
  bool paintedAnything() const { return bars_ + dots_ != 0; }

 private:
  void checkBar(std::span<const RecordedShape> pieces) const;
  void checkDot(std::span<const RecordedShape> parts) const;

  const PaintRules& rules_;
  int32_t bars_ = 0;
  int32_t dots_ = 0;
};

}  // namespace fuzz
