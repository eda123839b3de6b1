#include "render/profile_series.h"

#include <algorithm>
#include <cmath>

#include "render/pixel_math.h"
#include "render/top_n_filter.h"
#include "render/graphics_calls.h"

namespace tarvio {

namespace {

// Pixels of the dotted and dashed bar styles.
enum StrokePixels : int32_t { kDotSpacing = 6, kDotWidth = 2, kDashLength = 8, kDashGap = 4 };
constexpr int32_t kSolidFill = 1;

void fill(const GraphicsCalls& host, int64_t left, int64_t top, int64_t right, int64_t bottom,
          HostColor color) {
  const HostRect rect{clampToPixel(left), clampToPixel(top), clampToPixel(right), clampToPixel(bottom)};
  host.fillRectangle(rect, color);
}

void paintBar(const GraphicsCalls& host, const BarPlacement& bar, const BarLook& look) {
  const int64_t centerY = bar.centerY;
  switch (look.style) {
    case kBarStyleLine:
      fill(host, bar.startX, centerY - 1, bar.endX, centerY + 1, look.color);
      break;
    case kBarStyleDot:
      // The last dot may reach past the bar's end.
      for (int64_t x = bar.startX; x < bar.endX; x += kDotSpacing) {
        fill(host, x, centerY - 2, x + kDotWidth, centerY + 2, look.color);
      }
      break;
    case kBarStyleDash: {
      bool penDown = true;
      for (int64_t x = bar.startX; x < bar.endX; penDown = !penDown) {
        const int64_t next = std::min<int64_t>(x + (penDown ? kDashLength : kDashGap), bar.endX);
        if (penDown) fill(host, x, bar.topY, next, bar.bottomY, look.color);
        x = next;
      }
      break;
    }
    default:
      fill(host, bar.startX, bar.topY, bar.endX, bar.bottomY, look.color);
      break;
  }
}

}  // namespace

void drawBar(const GraphicsCalls& host, float price, int32_t centerY, float value,
             const BarLook& positive, const BarLook& negative, const ProfileGeometry& geometry) {
  const std::optional<BarPlacement> bar = placeBar(host, price, centerY, value, geometry);
  if (!bar) return;
  paintBar(host, *bar, value >= 0.0f ? positive : negative);
  host.graphicsReset3();
  host.graphicsReset2();
  host.graphicsReset1();
}

void drawDot(const GraphicsCalls& host, int32_t x, int32_t centerY, int32_t radius, int32_t style,
             HostColor color, const ProfileGeometry& geometry) {
  if (!(geometry.plotTop < centerY && centerY < geometry.plotBottom)) return;
  const int64_t r = std::max(radius, 1);
  const HostFillRecord solid{kSolidFill, static_cast<int32_t>(color), 0, 0};
  switch (style) {
    case kPriorDotPoint:
      host.drawEllipse(addPixels(x, -r), addPixels(centerY, -r), addPixels(x, r),
                       addPixels(centerY, r), solid);
      break;
    case kPriorDotDiamond: {
      host.selectBrush(solid);
      const HostPoint corners[4] = {{x, addPixels(centerY, -r)},
                                    {addPixels(x, r), centerY},
                                    {x, addPixels(centerY, r)},
                                    {addPixels(x, -r), centerY}};
      host.drawPolygon(corners, 4);
      break;
    }
    default:
      fill(host, x - r, centerY - r, static_cast<int64_t>(x) + r, static_cast<int64_t>(centerY) + r, color);
      break;
  }
  host.graphicsReset6();
  host.graphicsReset4();
  host.graphicsReset5();
  host.graphicsReset3();
  host.graphicsReset2();
  host.graphicsReset1();
}

void drawPriorDots(const GraphicsCalls& host, int32_t centerY, std::span<const float> priors,
                   std::size_t first, int32_t count, std::span<const int32_t> flags,
                   std::span<const HostColor> colors, const ProfileGeometry& geometry) {
  if (count <= 0 || priors.empty() || first >= priors.size() || flags.empty() || colors.empty()) return;
  if (centerY < geometry.plotTop || centerY > geometry.plotBottom) return;
  for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
    if (k >= flags.size() || k >= colors.size()) break;
    if (flags[k] == 0 || first + k >= priors.size()) continue;
    const std::optional<int32_t> x = placeDot(priors[first + k], geometry);
    if (x) drawDot(host, *x, centerY, geometry.dotRadius, geometry.dotStyle, colors[k], geometry);
  }
}

void drawSeries(HostStudyInterface& sc, const ProfileSeries& series, const ProfileGeometry& geometry,
                const Premiums& premiums) {
  const GraphicsCalls host(sc.ops);
  const std::vector<ProfileEntry> entries =
      filterTopN(series.strikes, series.values, series.positiveCount, series.negativeCount);
  // The series' vertical offset lies between the multiplier and the additive.
  const float offset = static_cast<float>(series.offsetTicks) * sc.tickSize;
  for (const ProfileEntry& entry : entries) {
    const float price = premiumPrice(entry.strike, premiums, offset);
    // An absent strike (or one the premiums carry beyond the float range) has
    // no place on the chart: no bar and no dots.
    if (!std::isfinite(price)) continue;
    const int32_t centerY = host.priceToY(price, geometry.graphRegion);
    drawBar(host, price, centerY, entry.value, series.positive, series.negative, geometry);
    // Dots are tried even where the strike's bar was not drawn.
    if (series.priorsPerStrike <= 0) continue;
    const std::size_t first =
        static_cast<std::size_t>(series.priorsPerStrike) * static_cast<std::size_t>(entry.index);
    drawPriorDots(host, centerY, series.priors, first, series.priorsPerStrike, series.priorFlags,
                  series.priorColors, geometry);
  }
}

}  // namespace tarvio
