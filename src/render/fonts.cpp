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

// A code point below U+0100 in UTF-8.
void append_utf8(std::string& out, unsigned char c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

FontFace font_face(std::string_view name) {
  if (!name.empty() && name.front() == '/') name.remove_prefix(1);
  FontFace face{"Nimbus Mono PS"};
  bool symbol = false;
  for (const Family& f : kFamilies) {
    if (name.substr(0, f.postscript.size()) == f.postscript) {
      face.family = f.urw;
      symbol = f.postscript == "Symbol";
      break;
    }
  }
  const std::size_t dash = name.find('-');
  const std::string_view style = dash == std::string_view::npos ? "" : name.substr(dash);
  // The Symbol font has one face: its bold and oblique names show it plain,
  // as Ghostscript shows them.
  if (symbol) return face;
  face.bold = style.find("Bold") != std::string_view::npos;
  face.italic = style.find("Italic") != std::string_view::npos ||
                style.find("Oblique") != std::string_view::npos;
  return face;
}

std::string text_to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) append_utf8(out, static_cast<unsigned char>(b));
  return out;
}

}  // namespace polarsketch::render
