// The advance widths of the PostScript base fonts (see base_font_widths.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace polarsketch::render {

struct BaseFontWidths {
  std::string_view name;                 // "Times-BoldItalic"
  std::span<const std::uint16_t, 224> width;  // codes 32..255, thousandths of an em
};

extern const std::array<BaseFontWidths, 13> kBaseFontWidths;

}  // namespace polarsketch::render
