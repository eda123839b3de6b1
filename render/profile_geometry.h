// Where one strike of a profile series lands on the chart: the bar's pixel
// rectangle and the x of a prior-snapshot dot, from the plotting area, the
// geometry inputs and the maximum of the series being drawn. Built afresh on
// every repaint; all arithmetic is single precision, truncating to pixels.
#pragma once

#include <cstdint>
#include <optional>

#include "render/graphics_calls.h"
#include "study/host_interface.h"

namespace tarvio {

enum ProfileDirection : int32_t {
  kProfileGrowsRight = 0,
  kProfileGrowsLeft = 1,
  kProfileGrowsBySign = 2,  // centre: positive values right, negative left
};

enum PriorDotStyle : int32_t {
  kPriorDotPoint = 0,
  kPriorDotDiamond = 1,
  kPriorDotSquare = 2,
};

struct ProfileGeometry {
  int32_t plotLeft;
  int32_t plotRight;
  int32_t plotTop;
  int32_t plotBottom;
  int32_t plotWidth;
  int32_t graphRegion;
  int32_t originX;       // where bars and dots start
  int32_t maxBarLength;  // pixels of a value equal to scaleMax
  float halfBarHeight;   // price units
  int32_t direction;     // ProfileDirection
  bool logarithmic;
  float scaleMax;        // set per series by the drawing
  int32_t dotStyle;      // PriorDotStyle
  int32_t dotRadius;     // 1..50
};

// Reads the plotting area and the geometry inputs. False when the plotting
// area is degenerate and nothing is to be drawn on this repaint. Leaves
// scaleMax at 0.
bool buildProfileGeometry(HostStudyInterface& sc, ProfileGeometry& geometry);

// Pixels a value spans at this geometry's scale (0 for a scale maximum below
// 0.0001); no minimum applies.
int32_t scaledLength(float value, const ProfileGeometry& geometry);

struct BarPlacement {
  int32_t centerY;
  int32_t topY;
  int32_t bottomY;
  int32_t startX;
  int32_t endX;
};

// The bar of a strike at `price` (whose pixel y is `centerY`) with `value`, or
// none when it would be outside the region, cut to nothing at the plot edges,
// or has no length.
std::optional<BarPlacement> placeBar(const GraphicsCalls& host, float price, int32_t centerY,
                                     float value, const ProfileGeometry& geometry);

// The centre x of a prior dot with `value`, or none for a value below 0.0001
// in size. A dot that would leave the plotting area is pulled back inside by
// its radius. Whether it lies inside the region vertically is the drawing's
// test.
std::optional<int32_t> placeDot(float value, const ProfileGeometry& geometry);

}  // namespace tarvio
