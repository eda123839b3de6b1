// A canvas that checks a repaint shape by shape. It records what the study
// paints on the host's recording canvas; shapes come in groups closed by the
// host's resets: a bar (one or more rectangles) by resets 3, 2, 1, a prior dot
// (a square, an ellipse, or a brush and a diamond) by 6, 4, 5, 3, 2, 1. Each
// closed group is checked against the paint rules (its colour, its style's
// pattern, and where it lies in the plot) and then dropped, so only the group
// under way is kept: at most a few hundred pieces, since dotted and dashed
// bars are only asked for on plots a few thousand pixels wide.
#pragma once

#include <cstdint>
#include <span>

#include "fuzz/paint_rules.h"
#include "host/recording_canvas.h"

using namespace chart_host;

namespace fuzz {

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
