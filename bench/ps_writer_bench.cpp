// Writes about 540,000 coordinate pairs through deline (the size of the
// densest net) in chunks of the 501-point device buffer and reports the time.
// Usage: ps_writer_bench [output file]   (default: ps_writer_bench.ps)
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "console/units.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/operators.hpp"
#include "postscript/writer.hpp"

int main(int argc, char** argv) {
  using namespace polarsketch;
  const std::string path = argc > 1 ? argv[1] : "ps_writer_bench.ps";
  constexpr std::int32_t kChunk = 501;
  constexpr std::int32_t kPairs = 540000;

  if (!console::open_file(console::kUnitPlotFile, path, console::FileStatus::unknown)) {
    std::fprintf(stderr, "cannot open %s\n", path.c_str());
    return 1;
  }
  postscript::psparams.ips = 1;
  postscript::psparams.npage = 1;
  postscript::writer().start(console::kUnitPlotFile, path);

  // Points on circles around the page centre, as a net's curves would be.
  std::vector<float> x(kChunk), y(kChunk);
  const auto t0 = std::chrono::steady_clock::now();
  std::int32_t written = 0;
  for (std::int32_t c = 0; written < kPairs; ++c) {
    const float r = 20.0f + static_cast<float>(c % 200);
    for (std::int32_t i = 0; i < kChunk; ++i) {
      const float a = 0.0125f * static_cast<float>(i + c);
      x[static_cast<std::size_t>(i)] = 297.5f + r * std::cos(a);
      y[static_cast<std::size_t>(i)] = 421.0f + r * std::sin(a);
    }
    postscript::deline(x.data(), y.data(), kChunk);
    written += kChunk;
  }
  postscript::psend();
  const auto t1 = std::chrono::steady_clock::now();
  const double s = std::chrono::duration<double>(t1 - t0).count();
  std::printf("%d coordinate pairs through deline in %.3f s (%.0f pairs/s)\n", written, s,
              static_cast<double>(written) / s);
  return 0;
}
