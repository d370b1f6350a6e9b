// The plot library's global records: coordinate transforms, attributes with the
// colour table, and names. Data only, so the PostScript driver can read them.
#pragma once

#include <cstdint>

#include "console/fixed_text.hpp"
#include "console/indexed.hpp"

namespace polarsketch::plot {

// Number of subplots and the highest colour slot.
inline constexpr std::int32_t kMaxSubplot = 35;
inline constexpr std::int32_t kMaxColorSlot = 12;

// Coordinate transforms between user units, centimetres and device units, per subplot.
struct Plt1blk {
  Indexed2<float, 1, 2, 1, 35> cm0tode{};       // device offset of the cm origin
  Indexed2<float, 1, 2, 1, 2> cmtode{};         // cm to device (one for all subplots)
  float rcmtode = 0.0f;                         // device units per centimetre
  Indexed2<float, 1, 2, 1, 35> us0tode{};       // device position of the user origin
  Indexed3<float, 1, 2, 1, 2, 1, 35> ustode{};  // user units to device units
  Indexed2<float, 1, 2, 1, 35> us0tocm{};       // page position (cm) of the user origin
  Indexed3<float, 1, 2, 1, 2, 1, 35> ustocm{};  // user units to centimetres
  Indexed2<float, 1, 2, 1, 35> cm0tous{};       // user position of the page origin
  Indexed3<float, 1, 2, 1, 2, 1, 35> cmtous{};  // centimetres to user units
  Indexed2<float, 1, 2, 1, 35> usmintocm{};     // declared, unused
  Indexed3<float, 1, 2, 1, 2, 1, 35> usextr{};  // declared, unused
  Indexed2<float, 1, 2, 1, 35> cmaxlength{};    // declared, unused
  Indexed<std::int32_t, 1, 35> isoxy{};         // declared, unused
  std::int32_t isubplot = 0;                    // current subplot, 1..35
  std::int32_t nsubplot = 0;                    // declared, unused
};

// Drawing attributes and the colour table (intensities in percent).
struct Plt2blk {
  Indexed<float, 0, 12> red{};
  Indexed<float, 0, 12> green{};
  Indexed<float, 0, 12> blue{};
  float rlinewidth = 0.0f;         // line thickness, cm
  float txtheight = 0.0f;          // text height, cm
  float txtangle = 0.0f;           // text angle, degrees
  float symbsize = 0.0f;           // symbol size, cm
  std::int32_t ncolor = 0;         // highest usable colour slot
  std::int32_t icurrentcolor = 0;  // colour slot last sent to the plot file
  bool loncolor = false;           // colour plot (true) or black and white
  std::int32_t ilinestyle = 0;     // line style (not used for drawing)
  std::int32_t ilinecolor = 0;     // colour slot for lines
  std::int32_t ifillstyle = 0;     // 0 hollow, 1 filled
  std::int32_t ifillcolor = 0;     // colour slot for fills
  std::int32_t itxtjust = 0;       // text alignment code, -11..11
  std::int32_t itxtfont = 0;       // text font number, 1..16
  std::int32_t itxtcolor = 0;      // colour slot for text
  std::int32_t isymbtype = 0;      // symbol type code
};

// Names: subplot titles and colour names.
struct Pltcharblk {
  Indexed<FixedText<20>, 1, 35> subplotitle{};
  Indexed<FixedText<8>, 0, 12> colornam{};
};

// The plot transforms, shared by the plot library and the PostScript driver.
inline Plt1blk plt1blk;
// The plot attributes and colour table.
inline Plt2blk plt2blk;
// The plot names (subplot titles, colour names).
inline Pltcharblk pltcharblk;

// Program-start state: every member zero, names blank.
inline void reset_plot_records() {
  plt1blk = Plt1blk{};
  plt2blk = Plt2blk{};
  pltcharblk = Pltcharblk{};
}

}  // namespace polarsketch::plot
