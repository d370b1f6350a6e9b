// Start-up of the console record and its report.
#include "console/iocom.hpp"

#include <string>
#include <string_view>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/units.hpp"

namespace polarsketch::console {

void initsio() {
  iocom.iti = 5;
  iocom.ito = 6;
  iocom.itier = 5;
  iocom.itoer = 6;
  iocom.lop = false;
  iocom.locom = false;
  iocom.lwito(1) = true;
  iocom.lwito(2) = true;
  iocom.lwito(3) = false;
  iocom.lcrerr = true;

  submenuhead("initsio");
  const int u = iocom.ito;
  auto number = [u](std::string_view label, std::int32_t v) {
    put_line(u, std::string(label) + " " + fmt_int(v, 2));
  };
  auto logical = [u](std::string_view label, bool v) {
    put_line(u, std::string(label) + " " + fmt_logical(v, 2));
  };
  put_line(u, "INITIALIZING INPUT/OUTPUT");
  number("standard  input unit        =", iocom.iti);
  number("standard output unit        =", iocom.ito);
  number("error     input unit        =", iocom.itier);
  number("error    output unit        =", iocom.itoer);
  logical("minimum output enabled      :", iocom.lwito(1));
  logical("more    output enabled      :", iocom.lwito(2));
  logical("maximum output enabled      :", iocom.lwito(3));
  logical("command file open status    :", iocom.locom);
  logical("plot    file open status    :", iocom.lop);
  logical("pause after warning or error:", iocom.lcrerr);
  menutail();
}

}  // namespace polarsketch::console
