// The program entry: forces the "C" locale and runs the main program.
#include <clocale>
#include <locale>

#include "app/main_program.hpp"

int main() {
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
  return polarsketch::app::run_program();
}
