// Text placed and bounded without a font library: the PostScript base
// fonts' own advance widths (a table in code), the driver's alignment, and
// an ascender and descender for the box a text covers.
#pragma once

#include <string_view>

#include "render/device.hpp"
#include "render/page_layout.hpp"

namespace polarsketch::render {

// The base font a PostScript font name is shown in: its family, weight and
// slant among the 13 base fonts; an unknown family is shown as Courier.
std::string_view base_font_name(std::string_view postscript_name);

// The advance width of the text bytes in the PostScript font, in units of
// the font size (an em).
double text_width(std::string_view postscript_font, std::string_view bytes);

// Where the driver's alignment puts a text: its baseline starts at `start`
// (device units) and runs `width` device units along `angle` (radians,
// counter-clockwise).
struct TextPlacement {
  Point anchor;        // the point the horizontal alignment refers to
  int horizontal = 0;  // 0 or 1: the text starts there, 2: centred, 3: ends there
  Point start;
  double angle = 0.0;
  double width = 0.0;
};

// The placement of `text` drawn at `at` in `style`, its width from the
// built-in metrics: the driver steps down across the text's direction by
// half the text height per vertical alignment step, then shifts back along
// the text by half or all of its width.
TextPlacement place_text(Point at, std::string_view text, const TextStyle& style);

// Adds the box a placed text covers (ascender to descender) to `ink`.
void add_text_ink(const TextPlacement& placed, double size, InkBox& ink);

}  // namespace polarsketch::render
