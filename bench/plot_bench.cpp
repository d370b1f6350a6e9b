// `polarsketch plot` end to end through cli::run: 100,000 poles of planes
// and 100,000 lines, read from a file, drawn one symbol each and written to
// a PostScript file in the temporary directory; the poles also as PDF, PNG
// and SVG figures.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "cli/cli.hpp"

namespace {

constexpr int kMeasurements = 100000;

std::filesystem::path write_data(const char* name, const char* header) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> azimuth(0.0, 360.0);
  std::uniform_real_distribution<double> dip(0.0, 90.0);
  std::ofstream out(path);
  out << header << '\n';
  char line[64];
  for (int i = 0; i < kMeasurements; ++i) {
    std::snprintf(line, sizeof line, "%.1f,%.1f\n", azimuth(random), dip(random));
    out << line;
  }
  return path;
}

void plot(benchmark::State& state, const std::filesystem::path& data,
          std::vector<std::string> options, const char* extension = ".ps") {
  const std::filesystem::path ps = data.string() + extension;
  options.insert(options.begin(), "plot");
  options.insert(options.end(), {"-o", ps.string(), data.string()});
  for (auto _ : state) {
    std::ostringstream out, err;
    std::istringstream in;
    if (polarsketch::cli::run(options, out, err, in) != 0) state.SkipWithError(err.str().c_str());
  }
  state.counters["bytes_written"] = static_cast<double>(std::filesystem::file_size(ps));
  std::filesystem::remove(ps);
  std::filesystem::remove(data);
}

void Poles100k(benchmark::State& state) {
  plot(state, write_data("bench_planes.csv", "dipdir,dip"), {"--planes", "poles"});
}
BENCHMARK(Poles100k)->Unit(benchmark::kMillisecond);

void Lines100k(benchmark::State& state) {
  plot(state, write_data("bench_lines.csv", "trend,plunge"), {});
}
BENCHMARK(Lines100k)->Unit(benchmark::kMillisecond);

void Poles100kFigure(benchmark::State& state, const char* extension) {
  plot(state, write_data("bench_planes.csv", "dipdir,dip"), {"--planes", "poles"}, extension);
}
BENCHMARK_CAPTURE(Poles100kFigure, pdf, ".pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Poles100kFigure, png, ".png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Poles100kFigure, svg, ".svg")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
