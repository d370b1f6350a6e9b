// Density, statistics and a rose of a million directions. After the timed runs the
// fast density is compared with the brute-force sum (every node against
// every point) on a sample of the grid's nodes, and the brute force's time
// for the whole grid is estimated from that sample.
// Usage: analysis_bench [Google Benchmark options] [--no-brute-force]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numbers>
#include <random>
#include <string_view>
#include <vector>

#include "analysis/contours.hpp"
#include "analysis/density.hpp"
#include "analysis/rose.hpp"
#include "analysis/rotation.hpp"
#include "analysis/sets.hpp"
#include "analysis/statistics.hpp"

namespace {

using namespace polarsketch::analysis;

constexpr std::size_t kPoints = 1'000'000;
constexpr std::size_t kCells = 100;  // grid cells across the net: 103 x 103 nodes

Vector3 lower(Vector3 v) { return v[2] < 0 ? Vector3{-v[0], -v[1], -v[2]} : v; }

// Fisher-distributed directions about `mean` with concentration kappa.
Vector3 fisher(std::mt19937_64& rng, const Vector3& mean, double kappa) {
  std::uniform_real_distribution<double> u01(0, 1);
  const double u = u01(rng);
  const double w =
      kappa == 0 ? 2 * u - 1 : 1 + std::log(u + (1 - u) * std::exp(-2 * kappa)) / kappa;
  const double a = 2 * std::numbers::pi * u01(rng), s = std::sqrt(std::max(0.0, 1 - w * w));
  // An orthonormal frame about the mean.
  const Vector3 t = std::abs(mean[2]) < 0.9 ? Vector3{0, 0, 1} : Vector3{1, 0, 0};
  Vector3 e1{mean[1] * t[2] - mean[2] * t[1], mean[2] * t[0] - mean[0] * t[2],
             mean[0] * t[1] - mean[1] * t[0]};
  const double n1 = std::hypot(e1[0], e1[1], e1[2]);
  for (auto& c : e1) c /= n1;
  const Vector3 e2{mean[1] * e1[2] - mean[2] * e1[1], mean[2] * e1[0] - mean[0] * e1[2],
                   mean[0] * e1[1] - mean[1] * e1[0]};
  Vector3 v;
  for (std::size_t k = 0; k < 3; ++k)
    v[k] = w * mean[k] + s * (std::cos(a) * e1[k] + std::sin(a) * e2[k]);
  return lower(v);
}

// Three clusters of different spread (one on the primitive) and 10 % scatter.
const std::vector<Vector3>& clustered() {
  static const std::vector<Vector3> points = [] {
    std::mt19937_64 rng(1);
    const double s = std::sqrt(0.5);
    std::vector<Vector3> v;
    v.reserve(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i) {
      switch (i % 10) {
        case 0:
          v.push_back(fisher(rng, {0, 0, 1}, 0));
          break;
        case 1:
        case 2:
        case 3:
          v.push_back(fisher(rng, {s, 0, s}, 10));
          break;
        case 4:
        case 5:
        case 6:
          v.push_back(fisher(rng, {0, 1, 0}, 30));
          break;
        default:
          v.push_back(fisher(rng, {-0.6, 0.48, 0.64}, 100));
          break;
      }
    }
    return v;
  }();
  return points;
}

const std::vector<Vector3>& uniform() {
  static const std::vector<Vector3> points = [] {
    std::mt19937_64 rng(2);
    std::vector<Vector3> v;
    v.reserve(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i) v.push_back(fisher(rng, {0, 0, 1}, 0));
    return v;
  }();
  return points;
}

std::vector<Vector3> grid_nodes() {
  std::vector<Vector3> nodes;
  const double step = 2.0 / kCells;
  for (std::size_t j = 0; j < kCells + 3; ++j)
    for (std::size_t i = 0; i < kCells + 3; ++i)
      nodes.push_back(inverse_projection(
          Projection::equal_area,
          {-1 - step + static_cast<double>(i) * step, -1 - step + static_cast<double>(j) * step}));
  return nodes;
}

constexpr DensityMethod kMethods[] = {DensityMethod::exp_kamb, DensityMethod::kamb,
                                      DensityMethod::linear_kamb, DensityMethod::schmidt};

// Density of a data set on the grid; the argument picks the method.
void BM_Density(benchmark::State& state, const std::vector<Vector3>& (*points)()) {
  const auto nodes = grid_nodes();
  const DensityOptions options{kMethods[state.range(0)], 3, DensityUnits::mud};
  state.SetLabel(std::string(method_name(options.method)));
  for (auto _ : state) benchmark::DoNotOptimize(density(points(), nodes, options));
}
BENCHMARK_CAPTURE(BM_Density, clustered, clustered)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Density, uniform, uniform)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_DensityOneNode(benchmark::State& state) {  // the index alone
  const std::vector<Vector3> node{{0, 0, 1}};
  for (auto _ : state) benchmark::DoNotOptimize(density(clustered(), node, {}));
}
BENCHMARK(BM_DensityOneNode)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Density (exp-kamb) and contours as plot draws them, on a grid of
// `range(0)` cells across the net.
void BM_ContourGrid(benchmark::State& state) {
  const auto cells = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    const NetGrid grid = density_grid(clustered(), {}, Projection::equal_area, cells);
    benchmark::DoNotOptimize(contour(grid, automatic_levels(grid.peak())));
  }
}
BENCHMARK(BM_ContourGrid)
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// Contours of 3,000 scattered directions at `range(0)` levels spread evenly
// up to 2 MUD: the time per level should not grow with the number of levels.
void BM_ContourLevels(benchmark::State& state) {
  static const NetGrid grid = [] {
    std::mt19937_64 rng(3);
    std::vector<Vector3> points;
    for (int i = 0; i < 3000; ++i) points.push_back(fisher(rng, {0, 0, 1}, 0));
    return density_grid(points, {}, Projection::equal_area, 200);
  }();
  std::vector<double> levels;
  const auto count = static_cast<double>(state.range(0));
  for (std::int64_t k = 1; k <= state.range(0); ++k) levels.push_back(2.0 * static_cast<double>(k) / count);
  for (auto _ : state) benchmark::DoNotOptimize(contour(grid, levels));
  state.counters["per_level"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ContourLevels)
    ->Arg(50)
    ->Arg(400)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_Statistics(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(compute_statistics(clustered()));
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A rose of a million strikes (the clustered directions' trends), bins and
// circular statistics: the target is under a second.
void BM_Rose(benchmark::State& state) {
  std::vector<double> strikes;
  strikes.reserve(kPoints);
  for (const Vector3& v : clustered()) strikes.push_back(trend_plunge(v).trend);
  for (auto _ : state) benchmark::DoNotOptimize(rose_of(strikes, {}, 0, 10, RoseSymmetry::axial));
}
BENCHMARK(BM_Rose)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A million planes rotated (the target: under 1 s, with reading and writing
// measured end to end by `polarsketch rotate`).
void BM_RotatePlanes(benchmark::State& state) {
  polarsketch::data::DataSet set;
  for (const Vector3& v : clustered())
    set.planes.push_back(polarsketch::data::plane_with_pole(polarsketch::data::to_line(v)));
  const Matrix3 r = followed_by(axis_rotation(60, 15, 30), unfolding(120, 35));
  for (auto _ : state) benchmark::DoNotOptimize(rotated(set, r));
}
BENCHMARK(BM_RotatePlanes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Axial k-means of 100,000 axes into 5 sets (target: under 1 s).
void BM_Sets(benchmark::State& state) {
  const std::vector<Vector3> axes(clustered().begin(), clustered().begin() + 100'000);
  for (auto _ : state) benchmark::DoNotOptimize(axial_kmeans(axes, farthest_seeds(axes, 5)));
}
BENCHMARK(BM_Sets)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Fast against brute force on every 40th node and the peak node.
void compare_with_brute_force() {
  const auto nodes = grid_nodes();
  std::printf("\nBrute force on a sample of the %zu nodes, %zu clustered points:\n", nodes.size(),
              kPoints);
  for (const auto method : kMethods) {
    const DensityOptions options{method, 3, DensityUnits::mud};
    const auto fast = density(clustered(), nodes, options);
    const auto peak_at = std::max_element(fast.begin(), fast.end()) - fast.begin();
    std::vector<Vector3> sample{nodes[static_cast<std::size_t>(peak_at)]};
    std::vector<double> expected{fast[static_cast<std::size_t>(peak_at)]};
    for (std::size_t i = 0; i < nodes.size(); i += 40) {
      sample.push_back(nodes[i]);
      expected.push_back(fast[i]);
    }
    const std::clock_t t0 = std::clock();  // processor time: the brute force runs on one core
    const auto slow = density_brute_force(clustered(), sample, options);
    const double took = static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
    double worst = 0;
    for (std::size_t i = 0; i < sample.size(); ++i)
      worst = std::max(worst, std::abs(expected[i] - slow[i]));
    const double per_grid =
        took / static_cast<double>(sample.size()) * static_cast<double>(nodes.size());
    std::printf(
        "  %-12s peak %9.3f MUD  max |fast - brute| / peak %.2e  "
        "brute force (one core) %.1f s per grid\n",
        std::string(method_name(method)).c_str(), slow[0], worst / slow[0], per_grid);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const bool brute_force = !(argc > 1 && std::string_view(argv[1]) == "--no-brute-force");
  if (!brute_force) --argc;
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (brute_force) compare_with_brute_force();
  return 0;
}
