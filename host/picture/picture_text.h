// Text and pixel-exact fills on a cairo context, shared by the parts of a
// chart picture: DejaVu Sans through cairo's own font selection, boxes sized
// by the font's line height so labels of one size line up.
#pragma once

#include <cairo.h>

#include <string>
#include <string_view>

#include "study/host_interface.h"

namespace chart_host {

void setColor(cairo_t* cr, HostColor color, double alpha = 1.0);
// Fills whole pixels [left, right) x [top, bottom), without blurred edges.
void fillPixels(cairo_t* cr, double left, double top, double right, double bottom, HostColor color);

// The text with every byte that is not part of well-formed UTF-8, and every
// control character, shown as '?': cairo refuses such text, and a refused
// text would stop the whole picture from being drawn.
std::string drawableText(std::string_view text);

void selectFont(cairo_t* cr, double size_px, bool bold = false);
double textWidth(cairo_t* cr, std::string_view text);
// Ascent plus descent of the selected font.
double lineHeight(cairo_t* cr);
// Draws text whose line box has its top-left corner at (left, top).
void drawText(cairo_t* cr, double left, double top, std::string_view text, HostColor color);

// A price with as many decimals as `step` needs (0.25 -> "5812.50").
std::string formatPrice(double price, double step);
int decimalsFor(double step);

}  // namespace chart_host
