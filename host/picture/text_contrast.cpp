#include "host/picture/text_contrast.h"

#include <algorithm>
#include <cmath>

namespace chart_host {

namespace {

double linearChannel(uint32_t channel) {
  const double value = channel / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

uint32_t channelOf(HostColor color, int shift) { return (color >> shift) & 0xFFu; }

HostColor mix(HostColor from, HostColor to, double share) {
  const auto channel = [&](int shift) {
    const double a = channelOf(from, shift);
    const double b = channelOf(to, shift);
    return static_cast<uint8_t>(std::lround(a + (b - a) * share));
  };
  return rgb(channel(0), channel(8), channel(16));
}

}  // namespace

double relativeLuminance(HostColor color) {
  return 0.2126 * linearChannel(channelOf(color, 0)) + 0.7152 * linearChannel(channelOf(color, 8)) +
         0.0722 * linearChannel(channelOf(color, 16));
}

double contrastRatio(HostColor first, HostColor second) {
  const double a = relativeLuminance(first);
  const double b = relativeLuminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

HostColor contrastingText(HostColor background) {
  const HostColor black = rgb(0, 0, 0);
  const HostColor white = rgb(255, 255, 255);
  return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

HostColor readableTextColor(HostColor preferred, HostColor background) {
  preferred &= 0xFFFFFFu;
  if (contrastRatio(preferred, background) >= kMinTextContrast) return preferred;
  const HostColor extreme = contrastingText(background);
  // Twentieths are steps fine enough to keep the hue; the extreme itself
  // always reads, so the search ends.
  for (int step = 1; step < 20; ++step) {
    const HostColor mixed = mix(preferred, extreme, step / 20.0);
    if (contrastRatio(mixed, background) >= kMinTextContrast) return mixed;
  }
  return extreme;
}

}  // namespace chart_host
