// How well text reads on its background, by the contrast ratio of their
// relative luminances (1:1 for equal colours up to 21:1 for black on white),
// and the choice of a text colour that reads: every text of a chart picture
// drawn in a colour the user chose (level labels, price tags) goes through it.
#pragma once

#include "study/host_interface.h"

namespace chart_host {

// The least contrast at which ordinary text reads for most people (the
// level commonly required of body text).
inline constexpr double kMinTextContrast = 4.5;

// 0 for black up to 1 for white, by the sRGB curve.
double relativeLuminance(HostColor color);
// (lighter + 0.05) / (darker + 0.05): from 1 up to 21.
double contrastRatio(HostColor first, HostColor second);

// Black or white, whichever contrasts more with `background`; at least
// about 4.58:1 whatever the background.
HostColor contrastingText(HostColor background);

// `preferred` when it reads on `background`; otherwise `preferred` mixed
// towards black or white (whichever reads better there) just far enough to
// reach kMinTextContrast, so the text keeps its hue where it can.
HostColor readableTextColor(HostColor preferred, HostColor background);

}  // namespace chart_host
