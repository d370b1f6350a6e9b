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
};

// The face for a PostScript font name such as "Times-BoldItalic"; a name
// outside the four base families falls back to the fixed-pitch family, as
// an interpreter substitutes an unknown font.
FontFace font_face(std::string_view postscript_name);

// The text as UTF-8, each byte an ISO Latin-1 character. The Symbol face
// maps those codes to its own glyphs (a: alpha), as the Symbol font does.
std::string text_to_utf8(std::string_view bytes);

}  // namespace polarsketch::render
