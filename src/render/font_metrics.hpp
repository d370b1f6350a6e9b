// Built-in widths of the PostScript base fonts, enough to place text and to
// bound it for a figure's crop without a font library: the standard advance
// widths of Helvetica, Helvetica-Bold, Times-Roman and Courier for the ASCII
// characters. Other faces borrow the nearest table (oblique and italic faces
// their upright one, Times-Bold Times-Roman widened by 4 %), and characters
// outside ASCII an average width: close enough for a crop, not for setting.
#pragma once

#include <string_view>

#include "render/device.hpp"
#include "render/page_layout.hpp"

namespace polarsketch::render {

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
