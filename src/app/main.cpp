// The program entry: forces the "C" locale; with no arguments runs the
// interactive program, otherwise the command line.
#include <clocale>
#include <csignal>
#include <iostream>
#include <locale>
#include <string>
#include <vector>

#include "app/main_program.hpp"
#include "cli/cli.hpp"
#include "cli/output_file.hpp"
#include "console/units.hpp"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
  // A console that goes away (output piped into a reader that has ended)
  // must not kill the run halfway through a plot file: writes to it then
  // fail quietly and the run goes on to its end, closing the plot file.
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
  if (argc > 1) {
    polarsketch::cli::remove_temporary_on_interrupt();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return polarsketch::cli::run(args, std::cout, std::cerr, std::cin);
  }
  polarsketch::console::install_interrupt_handlers();
  return polarsketch::app::run_program();
}
