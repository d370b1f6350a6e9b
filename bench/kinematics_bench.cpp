// Slope kinematics of a joint survey, every mode: 1,000 planes (499,500
// pairs) and 10,000 planes (about 5 x 10^7 pairs), three Fisher-like sets and
// scatter, counts only (as the report needs them).
// Usage: kinematics_bench [PLANES...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "analysis/kinematics.hpp"

namespace {

using namespace polarsketch::analysis;

std::vector<DipDirection> survey(std::size_t n) {
  std::mt19937_64 rng(7);
  std::normal_distribution<double> spread(0.0, 8.0);
  std::uniform_real_distribution<double> azimuth(0.0, 360.0), dip(0.0, 90.0);
  const DipDirection sets[] = {{120, 55}, {210, 80}, {300, 25}};
  std::vector<DipDirection> planes;
  planes.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (i % 10 == 9) {
      planes.push_back({azimuth(rng), dip(rng)});
      continue;
    }
    const DipDirection& s = sets[i % 3];
    double d = s.dip + spread(rng);
    if (d < 0) d = -d;
    if (d > 90) d = 180 - d;
    planes.push_back({s.dip_direction + spread(rng), d});
  }
  return planes;
}

void run(std::size_t n) {
  const std::vector<DipDirection> planes = survey(n);
  const Slope slope{110, 65, 30, 20, LateralLimits::straight};
  const auto t0 = std::chrono::steady_clock::now();
  std::size_t critical = 0;
  for (const KinematicModeEntry& m : kinematic_modes()) {
    const auto m0 = std::chrono::steady_clock::now();
    const KinematicResult r = m.evaluate(slope, planes, false);
    const auto m1 = std::chrono::steady_clock::now();
    critical += r.primary;
    std::printf("  %-9s %zu of %zu critical, %.3f s\n", std::string(m.name).c_str(), r.primary,
                r.total, std::chrono::duration<double>(m1 - m0).count());
  }
  const auto t1 = std::chrono::steady_clock::now();
  std::printf("%zu planes, all modes: %.3f s (%zu critical)\n", n,
              std::chrono::duration<double>(t1 - t0).count(), critical);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) run(static_cast<std::size_t>(std::atol(argv[i])));
  } else {
    run(1000);
    run(10000);
  }
  return 0;
}
