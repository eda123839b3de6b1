// Painting one profile series through the host's graphics operations: a bar
// per kept strike in the series' colour and style, then the strike's prior
// dots on top. Each drawn shape is followed by the host's reset calls.
#pragma once

#include <cstdint>
#include <span>

#include "render/profile_geometry.h"
#include "study/chart_price.h"
#include "render/graphics_calls.h"
#include "study/host_interface.h"

namespace tarvio {

enum BarStyle : int32_t {
  kBarStyleLine = 0,
  kBarStyleDot = 1,
  kBarStyleDash = 2,
  kBarStyleBar = 3,
};

struct BarLook {
  HostColor color;
  int32_t style;  // BarStyle; any other value draws a full bar
};

// One pass over one list of values. The spans point into the profile and
// into the caller's flag and colour lists; they live for one repaint.
struct ProfileSeries {
  std::span<const float> strikes;
  std::span<const float> values;
  std::span<const float> priors;  // priorsPerStrike per strike, rows concatenated
  int32_t priorsPerStrike;
  int32_t offsetTicks;
  BarLook positive;  // value >= 0
  BarLook negative;  // value < 0
  std::span<const int32_t> priorFlags;     // one 0/1 per prior interval
  std::span<const HostColor> priorColors;  // one colour per prior interval
  int32_t positiveCount;  // N largest positive values, 0 for all
  int32_t negativeCount;  // N largest negative values, 0 for all
};

void drawSeries(HostStudyInterface& sc, const ProfileSeries& series, const ProfileGeometry& geometry,
                const Premiums& premiums);

// A strike's bar and dots share the pixel y of its price, `centerY`, asked of
// the host once per strike.
void drawBar(const GraphicsCalls& host, float price, int32_t centerY, float value,
             const BarLook& positive, const BarLook& negative, const ProfileGeometry& geometry);

// The dots of the strike whose priors start at `first` in `priors`.
void drawPriorDots(const GraphicsCalls& host, int32_t centerY, std::span<const float> priors,
                   std::size_t first, int32_t count, std::span<const int32_t> flags,
                   std::span<const HostColor> colors, const ProfileGeometry& geometry);

void drawDot(const GraphicsCalls& host, int32_t x, int32_t centerY, int32_t radius, int32_t style,
             HostColor color, const ProfileGeometry& geometry);

}  // namespace tarvio
