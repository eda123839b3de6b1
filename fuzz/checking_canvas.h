// A canvas that checks every primitive of a repaint as it arrives. Shapes
// come in groups closed by the host's resets: a bar (one or more rectangles)
// by resets 3, 2, 1, a prior dot (a square, an ellipse, or a brush and a
// diamond) by 6, 4, 5, 3, 2, 1. Each closed group is checked against the
// paint rules: its colour, its style's pattern, and where it lies in the plot.
// Only a group's first and last primitives are kept: a dotted bar on a wide
// plot may have millions of pieces, each checked against the one before.
#pragma once

#include <cstdint>
#include <vector>

#include "fuzz/paint_rules.h"
#include "host/canvas.h"
#include "host/recording_canvas.h"

using namespace chart_host;

namespace fuzz {

class CheckingCanvas : public Canvas {
 public:
  explicit CheckingCanvas(const PaintRules& rules) : rules_(rules) {}

  void selectBrush(const HostFillRecord& fill) override;
  void resetGraphicsState(int32_t which) override;
  void fillRectangle(const HostRect& rect, HostColor color) override;
  void drawPolygon(const HostPoint* points, int32_t count) override;
  void drawEllipse(const HostRect& box, const HostFillRecord& fill) override;

  // The repaint is over: no shape may be left without its resets.
  void finish() const;

  int32_t bars() const { return bars_; }
  int32_t dots() const { return dots_; }
  bool paintedAnything() const { return primitives_ != 0; }

 private:
  void addPrimitive(RecordedShape shape);
  void checkBarContinues(const HostRect& piece, HostColor color) const;
  void checkBar() const;
  void checkDot() const;

  const PaintRules& rules_;
  // The shape being painted: how many primitives, the first and the last.
  int32_t count_ = 0;
  RecordedShape first_;
  RecordedShape last_;
  const std::vector<int32_t>* resets_ = nullptr;  // the closing sequence under way
  std::size_t resetsSeen_ = 0;
  int32_t bars_ = 0;
  int32_t dots_ = 0;
  int32_t primitives_ = 0;
};

}  // namespace fuzz
