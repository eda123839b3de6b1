#include "host/picture/picture_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "host/picture/picture_theme.h"

namespace chart_host {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t sequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  uint32_t codePoint = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (overlong || surrogate || codePoint > 0x10FFFF) return 0;
  return length;
}

}  // namespace

std::string drawableText(std::string_view text) {
  std::string drawable;
  drawable.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = sequenceLength(text);
    const auto lead = static_cast<unsigned char>(text[0]);
    if (length == 0 || lead < 0x20 || lead == 0x7F) {
      drawable += '?';
      text.remove_prefix(1);
      continue;
    }
    drawable.append(text.substr(0, length));
    text.remove_prefix(length);
  }
  return drawable;
}

void setColor(cairo_t* cr, HostColor color, double alpha) {
  cairo_set_source_rgba(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                        ((color >> 16) & 0xFF) / 255.0, alpha);
}

void fillPixels(cairo_t* cr, double left, double top, double right, double bottom,
                HostColor color) {
  if (!(right > left) || !(bottom > top)) return;
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  setColor(cr, color);
  cairo_rectangle(cr, std::round(left), std::round(top), std::round(right) - std::round(left),
                  std::round(bottom) - std::round(top));
  cairo_fill(cr);
  cairo_restore(cr);
}

void selectFont(cairo_t* cr, double size_px, bool bold) {
  cairo_select_font_face(cr, picture_theme::kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size_px);
}

double textWidth(cairo_t* cr, std::string_view text) {
  const std::string owned = drawableText(text);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, owned.c_str(), &extents);
  return extents.x_advance;
}

double lineHeight(cairo_t* cr) {
  cairo_font_extents_t extents;
  cairo_font_extents(cr, &extents);
  return extents.ascent + extents.descent;
}

void drawText(cairo_t* cr, double left, double top, std::string_view text, HostColor color) {
  const std::string owned = drawableText(text);
  cairo_font_extents_t extents;
  cairo_font_extents(cr, &extents);
  setColor(cr, color);
  // Whole-pixel baselines keep the glyphs sharp.
  cairo_move_to(cr, std::round(left), std::round(top + extents.ascent));
  cairo_show_text(cr, owned.c_str());
  cairo_new_path(cr);
}

int decimalsFor(double step) {
  if (!(step > 0.0) || !std::isfinite(step)) return 2;
  for (int decimals = 0; decimals < 6; ++decimals) {
    const double scaled = step * std::pow(10.0, decimals);
    if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) return decimals;
  }
  return 6;
}

std::string formatPrice(double price, double step) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimalsFor(step), price);
  return text;
}

}  // namespace chart_host
