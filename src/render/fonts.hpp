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
  bool symbol = false;  // the Symbol font: letters are Greek
};

// The face for a PostScript font name such as "Times-BoldItalic"; a name
// outside the four base families falls back to the fixed-pitch family, as
// an interpreter substitutes an unknown font.
FontFace font_face(std::string_view postscript_name);

// The text as UTF-8: bytes are ISO Latin-1 characters, or the Symbol
// encoding's Greek letters for the Symbol font.
std::string text_to_utf8(std::string_view bytes, bool symbol);

}  // namespace polarsketch::render
