// The program entry: forces the "C" locale and runs the main program.
#include <clocale>
#include <csignal>
#include <locale>

#include "app/main_program.hpp"
#include "console/units.hpp"

int main() {
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
  // A console that goes away (output piped into a reader that has ended)
  // must not kill the run halfway through a plot file: writes to it then
  // fail quietly and the run goes on to its end, closing the plot file.
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
  polarsketch::console::install_interrupt_handlers();
  return polarsketch::app::run_program();
}
