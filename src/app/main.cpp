// The program entry: forces the "C" locale and runs the main program.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <locale>
#include <string_view>

#include "app/main_program.hpp"
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
  polarsketch::console::install_interrupt_handlers();
  if (argc == 3 && std::string_view(argv[1]) == "--also") {
    const auto also = polarsketch::render::parse_sibling_formats(argv[2]);
    if (!also) {
      std::fprintf(stderr, "polarsketch: --also takes a list of pdf, svg and png, e.g. pdf,png\n");
      return 64;
    }
    return polarsketch::app::run_program(*also);
  }
  return polarsketch::app::run_program();
}
