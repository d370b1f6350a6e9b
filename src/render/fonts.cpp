// PostScript font names to URW families, and text bytes to UTF-8.
#include "render/fonts.hpp"

#include <array>

namespace polarsketch::render {
namespace {

struct Family {
  std::string_view postscript;
  std::string_view urw;
};

constexpr std::array<Family, 4> kFamilies{{
    {"Helvetica", "Nimbus Sans"},
    {"Times", "Nimbus Roman"},
    {"Courier", "Nimbus Mono PS"},
    {"Symbol", "Standard Symbols PS"},
}};

// The characters of the codes 128..255 of the PostScript standard encoding,
// which the base text fonts use; a code without a character shows as a
// blank of a space's width, as an interpreter shows it.
constexpr std::array<char16_t, 128> kStandardUpper{
    0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020,  // 128..135
    0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020,  // 136..143
    0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020,  // 144..151
    0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020,  // 152..159
    0x0020, 0x00A1, 0x00A2, 0x00A3, 0x2044, 0x00A5, 0x0192, 0x00A7,  // 160..167
    0x00A4, 0x0027, 0x201C, 0x00AB, 0x2039, 0x203A, 0xFB01, 0xFB02,  // 168..175
    0x0020, 0x2013, 0x2020, 0x2021, 0x00B7, 0x0020, 0x00B6, 0x2022,  // 176..183
    0x201A, 0x201E, 0x201D, 0x00BB, 0x2026, 0x2030, 0x0020, 0x00BF,  // 184..191
    0x0020, 0x0060, 0x00B4, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9,  // 192..199
    0x00A8, 0x0020, 0x02DA, 0x00B8, 0x0020, 0x02DD, 0x02DB, 0x02C7,  // 200..207
    0x2014, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020,  // 208..215
    0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020, 0x0020,  // 216..223
    0x0020, 0x00C6, 0x0020, 0x00AA, 0x0020, 0x0020, 0x0020, 0x0020,  // 224..231
    0x0141, 0x00D8, 0x0152, 0x00BA, 0x0020, 0x0020, 0x0020, 0x0020,  // 232..239
    0x0020, 0x00E6, 0x0020, 0x0020, 0x0020, 0x0131, 0x0020, 0x0020,  // 240..247
    0x0142, 0x00F8, 0x0153, 0x00DF, 0x0020, 0x0020, 0x0020, 0x0020,  // 248..255
};

// The character a byte shows in a text font: ASCII, except the two quotes the
// standard encoding curls, and the upper half through its table.
char16_t standard_character(unsigned char c) {
  if (c == '\'') return u'\u2019';
  if (c == '`') return u'\u2018';
  if (c < 32 || c == 127) return u' ';
  if (c < 128) return c;
  return kStandardUpper[c - 128];
}

void append_utf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

FontFace font_face(std::string_view name) {
  if (!name.empty() && name.front() == '/') name.remove_prefix(1);
  FontFace face{"Nimbus Mono PS"};
  for (const Family& f : kFamilies) {
    if (name.substr(0, f.postscript.size()) == f.postscript) {
      face.family = f.urw;
      face.symbol = f.postscript == "Symbol";
      break;
    }
  }
  const std::size_t dash = name.find('-');
  const std::string_view style = dash == std::string_view::npos ? "" : name.substr(dash);
  // The Symbol font has one face: its bold and oblique names show it plain,
  // as Ghostscript shows them.
  if (face.symbol) return face;
  face.bold = style.find("Bold") != std::string_view::npos;
  face.italic = style.find("Italic") != std::string_view::npos ||
                style.find("Oblique") != std::string_view::npos;
  return face;
}

std::string text_to_utf8(std::string_view bytes, bool symbol) {
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    append_utf8(out, symbol ? (c < 32 || c == 127 ? u' ' : char16_t{c}) : standard_character(c));
  }
  return out;
}

}  // namespace polarsketch::render
