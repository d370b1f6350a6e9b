// The program entry: forces the "C" locale and chooses the face: the
// interactive program with no arguments or with --also alone, otherwise the
// command line.
#include <clocale>
#include <iostream>
#include <locale>
#include <string>
#include <variant>
#include <vector>

#include "app/main_program.hpp"
#include "cli/cli.hpp"
#include "console/units.hpp"
#include "files/atomic_file.hpp"
#include "render/siblings.hpp"

int main(int argc, char** argv) {
  using namespace polarsketch;
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
  console::ignore_write_signals();
  if (argc > 1) {
    files::remove_temporaries_on_interrupt();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::Request request = cli::request_of(args);
    const auto* interactive = std::get_if<cli::InteractiveRequest>(&request);
    if (interactive == nullptr) return cli::run(request, std::cout, std::cerr, std::cin);
    render::SiblingFormats also;
    also.formats = interactive->also;
    // The figures show the net and its labels, which end below 27 cm on
    // every plot size, not the run information written higher on the page.
    also.layout.whole_page = interactive->whole_page;
    also.layout.ink_below = 27.0 / 2.54 * 72.0;
    console::install_interrupt_handlers();
    return app::run_program(also);
  }
  console::install_interrupt_handlers();
  return app::run_program();
}
