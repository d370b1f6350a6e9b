// The fonts that stand in for the PostScript base fonts (Ghostscript's URW
// fonts, metric-compatible) and the text bytes as Unicode.
#pragma once

#include <string>
#include <string_view>

namespace polarsketch::render {

struct FontFace {
  std::string_view family;  // fontconfig family name
  bool bold = false;
  bool italic = false;  // italic or oblique
  bool symbol = false;  // the Symbol font, with an encoding of its own
};

// The face for a PostScript font name such as "Times-BoldItalic"; a name
// outside the four base families falls back to the fixed-pitch family, as
// an interpreter substitutes an unknown font.
FontFace font_face(std::string_view postscript_name);

// The text as UTF-8: in a text font each byte is the character of the
// PostScript standard encoding (' and ` are curly quotes, 233 is Ø); in the
// Symbol font each byte keeps its code, which the URW Symbol face maps to
// its own glyphs (a: alpha) as the PostScript font does.
std::string text_to_utf8(std::string_view bytes, bool symbol);

}  // namespace polarsketch::render
