#include "render/profile_geometry.h"

#include <algorithm>
#include <cmath>

#include "render/pixel_math.h"
#include "study/input_readers.h"
#include "study/study_inputs.h"

namespace tarvio {

namespace {

// The smallest value that still counts as one, for bars, dots and scales.
constexpr float kSmallestValue = 0.0001f;

// True when a bar or dot of this value grows to the left of the origin.
bool growsLeft(int32_t direction, float value) {
  if (direction == kProfileGrowsRight) return false;
  if (direction == kProfileGrowsLeft) return true;
  return value < 0.0f;
}

float scaleRatio(float value, const ProfileGeometry& geometry) {
  const float size = std::fabs(value);
  if (geometry.scaleMax < kSmallestValue) return 0.0f;
  if (geometry.logarithmic) {
    const float decades = std::log10(1.0f + geometry.scaleMax);
    return decades > kSmallestValue ? std::log10(size + 1.0f) / decades : 0.0f;
  }
  return size / geometry.scaleMax;
}

}  // namespace

bool buildProfileGeometry(HostStudyInterface& sc, ProfileGeometry& geometry) {
  // Widths are taken in 64 bits: the host's edges may lie anywhere in int32.
  const int64_t width = static_cast<int64_t>(sc.plotRight) - sc.plotLeft;
  if (sc.plotBottom <= 0 || sc.plotRight <= 0 || width <= 0) return false;

  geometry = ProfileGeometry{};
  geometry.plotLeft = sc.plotLeft;
  geometry.plotRight = sc.plotRight;
  geometry.plotTop = sc.plotTop;
  geometry.plotBottom = sc.plotBottom;
  geometry.plotWidth = clampToPixel(width);
  geometry.graphRegion = sc.graphRegion;

  const float plotWidth = static_cast<float>(geometry.plotWidth);
  const int32_t originPercent = std::clamp(readInteger(inputAt(sc, kOriginPositionInput)), 0, 100);
  geometry.originX = addPixels(
      sc.plotLeft, truncateToPixel(static_cast<float>(originPercent) / 100.0f * plotWidth));
  const int32_t scalePercent = std::clamp(readInteger(inputAt(sc, kBarScaleFactorInput)), 1, 100);
  geometry.maxBarLength = truncateToPixel(static_cast<float>(scalePercent) / 100.0f * plotWidth);

  const int32_t widthTicks = std::max(readInteger(inputAt(sc, kBarWidthInput)), 1);
  geometry.halfBarHeight = static_cast<float>(widthTicks) * sc.tickSize * 0.5f;

  geometry.direction = readIndex(inputAt(sc, kProfileDirectionInput));
  geometry.logarithmic = readYesNo(inputAt(sc, kLogarithmicScalingInput)) != 0;
  geometry.dotStyle = readIndex(inputAt(sc, kPriorDotsStyleInput));
  geometry.dotRadius =
      std::clamp(truncateToPixel(readFloat(inputAt(sc, kPriorDotsSizeInput)) * 4.0f), 1, 50);
  return true;
}

int32_t scaledLength(float value, const ProfileGeometry& geometry) {
  return truncateToPixel(static_cast<float>(geometry.maxBarLength) * scaleRatio(value, geometry));
}

std::optional<BarPlacement> placeBar(const GraphicsCalls& host, float price, int32_t centerY,
                                     float value, const ProfileGeometry& geometry) {
  BarPlacement bar{};
  bar.centerY = centerY;
  if (bar.centerY < geometry.plotTop || bar.centerY > geometry.plotBottom) return std::nullopt;

  int32_t length = scaledLength(value, geometry);
  if (length <= 0) {
    // Any value of real size keeps a one-pixel bar.
    if (!(std::fabs(value) > kSmallestValue)) return std::nullopt;
    length = 1;
  }

  bar.topY = host.priceToY(price + geometry.halfBarHeight, geometry.graphRegion);
  const int32_t lowY = host.priceToY(price - geometry.halfBarHeight, geometry.graphRegion);
  bar.bottomY = lowY > bar.topY ? lowY : addPixels(bar.topY, 1);

  // The side follows the value's sign, which changes from strike to strike
  // without a pattern: chosen by selects rather than a branch to mispredict.
  const bool left = growsLeft(geometry.direction, value);
  const int64_t origin = geometry.originX;
  const int64_t start = std::max<int64_t>(origin - (left ? length : 0), geometry.plotLeft);
  const int64_t end = std::min<int64_t>(origin + (left ? 0 : length), geometry.plotRight);
  if (start >= end) return std::nullopt;
  bar.startX = static_cast<int32_t>(start);
  bar.endX = static_cast<int32_t>(end);

  const auto inside = [&](int32_t y) { return geometry.plotTop < y && y < geometry.plotBottom; };
  if (!inside(bar.topY) && !inside(bar.bottomY)) return std::nullopt;
  return bar;
}

std::optional<int32_t> placeDot(float value, const ProfileGeometry& geometry) {
  // Written as a negated test so that a NaN prior gets no dot either.
  if (!(std::fabs(value) >= kSmallestValue)) return std::nullopt;
  const int32_t length = scaledLength(value, geometry);
  const int32_t radius = std::max(geometry.dotRadius, 1);
  int64_t x = geometry.originX;
  x += growsLeft(geometry.direction, value) ? -static_cast<int64_t>(length) : length;
  if (x < geometry.plotLeft) x = static_cast<int64_t>(geometry.plotLeft) + radius;
  if (x > geometry.plotRight) x = static_cast<int64_t>(geometry.plotRight) - radius;
  return clampToPixel(x);
}

}  // namespace tarvio
