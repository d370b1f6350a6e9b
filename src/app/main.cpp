// The program entry: forces the "C" locale and runs the main program.
#include <clocale>
#include <locale>

#include "app/main_program.hpp"
#include "console/units.hpp"

int main() {
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
  polarsketch::console::ignore_write_signals();
  polarsketch::console::install_interrupt_handlers();
  return polarsketch::app::run_program();
}
