// The run information written on each plot page: program identity, host and
// start time, in two lines at half the text size in force.
#include "plot/runinfo_text.hpp"

#include <string>

#include "console/fixed_text.hpp"
#include "console/runinfo.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::plot {

void cmplotruninfo01(float xcm, float ycm, std::int32_t /*intera*/) {
  const auto& ri = console::runinfocom;
  float s = 0.0f;
  stextsize(s, 3);
  float h = s * 0.5f;
  stextsize(h, 1);

  const FixedText<60> line1(std::string("Main program ") + std::string(ri.pname(1).trimmed()) +
                            " v" + ri.pversion(1).str() + " on " + ri.pdate(1).str());
  cmtext2(xcm, ycm, line1.view());

  const FixedText<60> line2(std::string("Run on ") + std::string(ri.hnam.trimmed()) + " on " +
                            ri.date10.str() + " at " + ri.time8.str());
  cmtext2(xcm, ycm - 1.5f * h, line2.view());

  stextsize(s, 1);
}

}  // namespace polarsketch::plot
