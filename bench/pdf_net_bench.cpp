// The densest net (great and small circles every degree, 1,000 points per
// great circle) drawn by the interactive program into a plot file alone,
// then into the plot file and its PDF sibling; reports wall and processor
// time of each run. Run it on a quiet machine: the target is the PDF run
// under 1 s.
// Usage: pdf_net_bench [directory]   (default: the current directory)
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/main_program.hpp"
#include "console/units.hpp"
#include "render/siblings.hpp"

namespace {

// Command 42 sets 1,000 points per circle, 70 and 80 steps of one degree,
// 600 draws the net, 20 closes the file.
const std::string kScript =
    "\n42\n10\n1000\n99\n70\n1\n80\n1\n18\ndensest_net.ps\n600\n\n\n20\n\n9999\n";

double processor_seconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void run(const char* label, const polarsketch::render::SiblingFormats& also) {
  std::istringstream in(kScript);
  std::ostringstream out;
  polarsketch::console::bind_console(in, out);
  const double c0 = processor_seconds();
  const auto t0 = std::chrono::steady_clock::now();
  const int status = polarsketch::app::run_program(also);
  const auto t1 = std::chrono::steady_clock::now();
  const double c1 = processor_seconds();
  std::printf("%-28s %.3f s wall, %.3f s processor (status %d)\n", label,
              std::chrono::duration<double>(t1 - t0).count(), c1 - c0, status);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) std::filesystem::current_path(argv[1]);
  polarsketch::render::SiblingFormats pdf;
  pdf.formats.push_back(polarsketch::render::format_of_extension("pdf"));
  run("densest net, PostScript:", {});
  run("densest net, PostScript+PDF:", pdf);
  return 0;
}
