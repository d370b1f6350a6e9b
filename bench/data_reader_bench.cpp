// Reads generated 10 MB measurement files from memory (the caller's part,
// reading the file into a string, is left out): decimal dip directions and
// dips, quadrant notation, and slips whose line is checked against the plane.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdio>
#include <random>
#include <string>

#include "data/measurements.hpp"

namespace {

constexpr std::size_t kFileBytes = 10u << 20;

using polarsketch::data::line_from_rake;
using polarsketch::data::Plane;

// Lines of random measurements after `header` until the text reaches 10 MB.
template <typename Line>
std::string generate(const char* header, Line line) {
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> azimuth(0.0, 360.0);
  std::uniform_real_distribution<double> dip(0.0, 90.0);
  std::string text = header;
  text.reserve(kFileBytes + 100);
  char buffer[128];
  while (text.size() < kFileBytes) {
    const int n = line(buffer, sizeof buffer, azimuth(random), dip(random));
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

void read_file(benchmark::State& state, const std::string& text) {
  const polarsketch::data::ReadOptions options;
  std::size_t count = 0;
  for (auto _ : state) {
    const auto result = polarsketch::data::read_measurements(text, "bench.csv", options);
    if (!result.ok()) state.SkipWithError("the generated file did not read");
    count = result.data.size();
    benchmark::DoNotOptimize(result.data);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["measurements"] = static_cast<double>(count);
}

void DipDirectionDip(benchmark::State& state) {
  static const std::string text =
      generate("dipdir,dip,label\n", [](char* b, std::size_t size, double a, double d) {
        return std::snprintf(b, size, "%06.2f,%05.2f,site %d\n", a, d, static_cast<int>(a));
      });
  read_file(state, text);
}

void QuadrantNotation(benchmark::State& state) {
  static const std::string text = generate("strike dip\n", [](char* b, std::size_t size, double a,
                                                              double d) {
    const char* letters[] = {"SE", "NW"};
    return std::snprintf(b, size, "N%.0fE %.0f%s\n", a / 4.0, d, letters[static_cast<int>(a) % 2]);
  });
  read_file(state, text);
}

void SlipLines(benchmark::State& state) {
  static const std::string text =
      generate("dipdir\tdip\ttrend\tplunge\n", [](char* b, std::size_t size, double a, double d) {
        const auto line = line_from_rake(Plane{a, d}, -a / 2.0);
        return std::snprintf(b, size, "%.3f\t%.3f\t%.3f\t%.3f\n", a, d, line.trend, line.plunge);
      });
  read_file(state, text);
}

}  // namespace

BENCHMARK(DipDirectionDip)->Unit(benchmark::kMillisecond);
BENCHMARK(QuadrantNotation)->Unit(benchmark::kMillisecond);
BENCHMARK(SlipLines)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
