// The projection settings, the Wulff and Schmidt formulas and the dispatcher.
#include "stereonet/projections.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "report/report.hpp"

namespace polarsketch::stereonet {

namespace {

using console::fmt_int;
using console::put_line;

bool is_even(std::int32_t v) { return v % 2 == 0; }

// The cone over the plane shown in the projection menu (36 columns each).
constexpr std::string_view kConePicture[] = {
    "          &&&&&&&&&&&&&             ", "           &&&&&&&&&&&              ",
    "             &&&&&#&                ", "               &&& .                ",
    "                    .               ", "     /***************.*************/",
    "    /                 .           / ", "   /                  |          /  ",
    "  /                   V         /   ", " /                    #        /    ",
    "/*****************************/     ",
};

// The projection menu and its prompt; iproja is the default and the answer.
void projection_menu(std::int32_t& iproja) {
  const auto ito = console::iocom.ito;
  console::submenuhead("sspro      ");
  put_line(ito, "STEREOGRAPHIC PROJECTION SET UP");
  put_line(ito, "(azimuth,plunge) ---> (x,y) in plane");
  put_line(ito, console::kRuleHyphen);
  for (auto line : kConePicture) put_line(ito, line);
  put_line(ito, console::kRuleHyphen);
  put_line(ito, "current projection number = " + fmt_int(iproja, 4));
  put_line(ito, console::kRuleHyphen);
  put_line(ito, "Projection                   command");
  put_line(ito, "Wulff = conformal = Inversion");
  put_line(ito, "   direct     X,Y axis ............1");
  put_line(ito, "   retrograde X,Y axis ............2");
  put_line(ito, "Schmidt = Lambert Azimuthal equal area");
  put_line(ito, "   direct     X,Y axis ............3");
  put_line(ito, "   retrograde X,Y axis ............4");
  console::menutail();
  std::int32_t ierr = 0;
  console::inintegvindef(iproja, "projection number", iproja, 1, 4, ierr);
}

// Reports a projection number outside 1..4 (field width w) as an error.
void report_no_such_projection(std::string_view routine, std::int32_t iproj, int w) {
  report::Message msg = report::error(routine);
  msg.lines.emplace_back("iproj =  " + fmt_int(iproj, w));
  msg.lines.emplace_back("NO SUCH PROJECTION AVALAIBLE");
  report::report(msg);
}

// The family settings shared by swulf and sschmidt.
void family_settings(std::string_view routine, std::string_view start1, std::string_view display1,
                     std::string_view second, float& clma, std::int32_t inter) {
  const auto ito = console::iocom.ito;
  if (inter >= 4 && inter <= 7) {
    console::submenuhead(routine);
    put_line(ito, start1);
    put_line(ito, second);
    clma = 180.0f;
  }
  if (is_even(inter)) {
    console::submenuhead(routine);
    put_line(ito, display1);
    put_line(ito, second);
    console::menutail();
  }
}

// Wulff radius of colatitude w: tan(w / 2). From colatitude pi on, the half
// angle is held just below pi/2, where the float tan is still finite and
// positive (the float tan of pi1o2 itself is negative).
float wulff_radius(float w) {
  float half = 0.5f * w;
  if (half >= math::anglerad.pi1o2) half = std::nextafter(math::anglerad.pi1o2, 0.0f);
  return std::tan(half);
}

// Colatitude of plunge lat, bounded by clatmax.
float colatitude(float lat, float clatmax) {
  const float w = math::anglerad.pi1o2 - lat;
  return clatmax < w ? clatmax : w;
}

}  // namespace

void reset_projection_records() {
  sprojtype = Sprojtype{};
  wulfparams = Wulfparams{};
  schmidtparams = Schmidtparams{};
}

void sspro(std::int32_t& iproja, std::int32_t inter) {
  const auto ito = console::iocom.ito;
  if (inter == 2 || inter == 3) {
    iproja = sprojtype.iproj;
  } else if (inter >= 4 && inter <= 7) {
    iproja = 4;
    console::submenuhead("sspro      ");
    put_line(ito, "INITIALIZING STEREOGRAPHIC PROJECTION");
    put_line(ito, "projection number = " + fmt_int(iproja, 4));
    put_line(ito, "projection = Schmidt, retrograde X,Y axis");
  }
  bool ierr = false;
  for (;;) {
    if (is_even(inter) || ierr) projection_menu(iproja);
    sprojtype.iproj = iproja;
    const std::int32_t inter1 = 5;
    float r1 = 0.0f;
    if (sprojtype.iproj == 1 || sprojtype.iproj == 2) {
      swulf(r1, inter1);
    } else if (sprojtype.iproj == 3 || sprojtype.iproj == 4) {
      sschmidt(r1, inter1);
    } else {
      report_no_such_projection("sspro      ", sprojtype.iproj, 4);
      ierr = true;
      continue;
    }
    return;
  }
}

void swulf(float& clma, std::int32_t inter) {
  family_settings("swulf      ", "INITIALIZING WULFF PROJECTION", "WULFF PROJECTION",
                  "Inversion or stereographic conformal", clma, inter);
  wulfparams.clatmax = math::rad(clma);
}

void sschmidt(float& clma, std::int32_t inter) {
  family_settings("sschmidt   ", "INITIALIZING SCHMIDT PROJECTION", "SCHMIDT PROJECTION",
                  "Azimuthal Equal Area (Lambert,1772)", clma, inter);
  schmidtparams.clatmax = math::rad(clma);
  schmidtparams.r2 = kSchmidtScale;
}

void spron(float* x, float* y, const float* long_, const float* lat, std::int32_t np) {
  for (;;) {
    switch (sprojtype.iproj) {
      case 1:
        wulfn(x, y, long_, lat, np);
        return;
      case 2:
        wulfn(y, x, long_, lat, np);
        return;
      case 3:
        schmidtn(x, y, long_, lat, np);
        return;
      case 4:
        schmidtn(y, x, long_, lat, np);
        return;
      default: {
        report_no_such_projection("spron      ", sprojtype.iproj, 5);
        std::int32_t iproja = 4;
        sspro(iproja, 0);
      }
    }
  }
}

void wulfn(float* x, float* y, const float* long_, const float* lat, std::int32_t np) {
  for (std::int32_t i = 0; i < np; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float a = long_[k];
    const float d = wulff_radius(colatitude(lat[k], wulfparams.clatmax));
    x[k] = std::cos(a) * d;
    y[k] = std::sin(a) * d;
  }
}

void schmidtn(float* x, float* y, const float* az, const float* lat, std::int32_t np) {
  for (std::int32_t i = 0; i < np; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float a = az[k];
    const float w = colatitude(lat[k], schmidtparams.clatmax);
    const float d = std::sin(0.5f * w) * schmidtparams.r2;
    x[k] = std::cos(a) * d;
    y[k] = std::sin(a) * d;
  }
}

}  // namespace polarsketch::stereonet
