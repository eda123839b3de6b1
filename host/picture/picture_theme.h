// The look of a chart picture: a dark chart on which the study's bright level
// and profile colours read well, candles in colours that stay apart from the
// profile's pure green and red, and the sizes of text and margins in pixels.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

namespace chart_host {

namespace picture_theme {

inline constexpr HostColor kBackground = rgb(19, 23, 34);
inline constexpr HostColor kAxisBackground = rgb(22, 26, 37);
inline constexpr HostColor kGrid = rgb(35, 40, 54);
inline constexpr HostColor kAxisLine = rgb(54, 60, 78);
inline constexpr HostColor kAxisText = rgb(178, 181, 190);
inline constexpr HostColor kTitleText = rgb(226, 228, 234);
inline constexpr HostColor kLabelBox = rgb(24, 28, 40);
inline constexpr HostColor kUpCandle = rgb(38, 166, 154);
inline constexpr HostColor kDownCandle = rgb(239, 83, 80);
// Levels that are not live: a red a trader cannot miss, apart from the candles'.
inline constexpr HostColor kWarning = rgb(220, 30, 40);
inline constexpr HostColor kWarningText = rgb(255, 255, 255);
// The marks of alerts: a crossing upward, downward, a price come near a
// level; apart from the candles' colours and the warning red.
inline constexpr HostColor kAlertUp = rgb(64, 196, 255);
inline constexpr HostColor kAlertDown = rgb(255, 152, 0);
inline constexpr HostColor kAlertNear = rgb(255, 235, 59);

// A level's colour greyed two thirds of the way to the axis text, for levels
// that are not live: still told apart, never taken for live ones.
constexpr HostColor mutedColor(HostColor color) {
  HostColor muted = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t channel = (color >> shift) & 0xFFu;
    const uint32_t grey = (kAxisText >> shift) & 0xFFu;
    muted |= ((channel + 2 * grey) / 3) << shift;
  }
  return muted;
}

inline constexpr const char* kFontFamily = "DejaVu Sans";
inline constexpr double kAxisFont_px = 12.0;
inline constexpr double kTitleFont_px = 15.0;
inline constexpr double kQuoteFont_px = 13.0;

inline constexpr int32_t kTitleBarHeight_px = 34;
inline constexpr int32_t kTimeAxisHeight_px = 28;
inline constexpr int32_t kMinPriceAxisWidth_px = 64;
// The widest line a level or an output series is drawn with.
inline constexpr int32_t kWidestLine_px = 20;

}  // namespace picture_theme

}  // namespace chart_host
