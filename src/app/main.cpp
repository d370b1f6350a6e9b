// The program entry: forces the "C" locale; with no arguments runs the
// interactive program, otherwise the command line.
#include <clocale>
#include <iostream>
#include <locale>
#include <string>
#include <vector>

#include "app/main_program.hpp"
#include "cli/cli.hpp"
#include "console/units.hpp"
#include "files/atomic_file.hpp"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
  polarsketch::console::ignore_write_signals();
  if (argc > 1) {
    polarsketch::files::remove_temporaries_on_interrupt();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return polarsketch::cli::run(args, std::cout, std::cerr, std::cin);
  }
  polarsketch::console::install_interrupt_handlers();
  return polarsketch::app::run_program();
}
