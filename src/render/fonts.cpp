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

// The Symbol encoding's letters A..Z and a..z.
constexpr std::array<char32_t, 26> kGreekUpper{U'Α', U'Β', U'Χ', U'Δ', U'Ε', U'Φ', U'Γ', U'Η', U'Ι',
                                               U'ϑ', U'Κ', U'Λ', U'Μ', U'Ν', U'Ο', U'Π', U'Θ', U'Ρ',
                                               U'Σ', U'Τ', U'Υ', U'ς', U'Ω', U'Ξ', U'Ψ', U'Ζ'};
constexpr std::array<char32_t, 26> kGreekLower{U'α', U'β', U'χ', U'δ', U'ε', U'φ', U'γ', U'η', U'ι',
                                               U'ϕ', U'κ', U'λ', U'μ', U'ν', U'ο', U'π', U'θ', U'ρ',
                                               U'σ', U'τ', U'υ', U'ϖ', U'ω', U'ξ', U'ψ', U'ζ'};

void append_utf8(std::string& out, char32_t c) {
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
    if (symbol && c >= 'A' && c <= 'Z') {
      append_utf8(out, kGreekUpper[c - 'A']);
    } else if (symbol && c >= 'a' && c <= 'z') {
      append_utf8(out, kGreekLower[c - 'a']);
    } else {
      append_utf8(out, c);
    }
  }
  return out;
}

}  // namespace polarsketch::render
