// A canvas that renders a study's graphics operations onto a cairo context:
// rectangles fill whole pixels (a HostRect's right and bottom edges are
// exclusive), polygons fill with the selected brush and ellipses with their
// own fill. The context is borrowed; whoever made it clips and owns it.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "host/canvas.h"

namespace chart_host {

class CairoCanvas : public Canvas {
 public:
  explicit CairoCanvas(cairo_t* cr) : cr_(cr) {}

  void selectBrush(const HostFillRecord& fill) override;
  // Every reset puts the brush back to the default one; the canvas keeps no
  // other drawing state between operations.
  void resetGraphicsState(int32_t which) override;
  void fillRectangle(const HostRect& rect, HostColor color) override;
  void drawPolygon(const HostPoint* points, int32_t count) override;
  void drawEllipse(const HostRect& box, const HostFillRecord& fill) override;

  // A new canvas's brush: solid white.
  static constexpr HostFillRecord kDefaultBrush{1, 0x00FFFFFF, 0, 0};

 private:
  // Fills the current path with a solid fill, or outlines it for other kinds.
  void paintPath(const HostFillRecord& fill);

  cairo_t* cr_;
  HostFillRecord brush_ = kDefaultBrush;
};

}  // namespace chart_host
