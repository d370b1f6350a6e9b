// Layer: the program and run information, above the net (portrait) or at
// the lower right (landscape).
#include "figure/layers.hpp"
#include "plot/runinfo_text.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {

void draw_run_information(const Page& page, Sheet& sheet) {
  if (!page.run_info) return;
  std::int32_t just0 = 0;
  plot::stextalign(just0, 3);
  plot::stextalign(-2, 1);
  if (page.paper == Paper::portrait) {
    plot::cmplotruninfo01(sheet.net.x_cm, 28.0f, 1);
  } else {
    plot::cmplotruninfo01(24.0f, 1.5f, 1);
  }
  plot::stextalign(just0, 1);
}

}  // namespace polarsketch::figure
