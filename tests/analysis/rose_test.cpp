// Roses: bins at their edges, widths that fit the period, azimuths of what is
// counted, Terzaghi weights, and circular statistics against their
// definitions and a published example. Tolerances are for double precision
// unless a published value is quoted to fewer digits.
#include "analysis/rose.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace polarsketch::analysis {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
using Sym = RoseSymmetry;

TEST(Rose, BinsAreHalfOpenAnd360IsZero) {
  const struct {
    double azimuth, start, width;
    Sym sym;
    std::size_t bin;
  } cases[] = {
      {0, 0, 10, Sym::directional, 0},    {9.999, 0, 10, Sym::directional, 0},
      {10, 0, 10, Sym::directional, 1},   {359.9, 0, 10, Sym::directional, 35},
      {360, 0, 10, Sym::directional, 0},  {180, 0, 10, Sym::axial, 0},
      {190, 0, 10, Sym::axial, 1},        {350, 0, 10, Sym::axial, 17},
      {355, -5, 10, Sym::directional, 0}, {4.9, -5, 10, Sym::directional, 0},
      {5, -5, 10, Sym::directional, 1},   {0.3, 0.1, 0.1, Sym::directional, 2},
      {177.5, 2.5, 7.5, Sym::axial, 23},  {2.5, 2.5, 7.5, Sym::axial, 0},
      {182.4, 2.5, 7.5, Sym::axial, 23},  {-10, 0, 10, Sym::directional, 35},
  };
  for (const auto& c : cases)
    EXPECT_EQ(bin_index(c.azimuth, c.start, c.width, c.sym), c.bin)
        << c.azimuth << " from " << c.start << " by " << c.width;
}

TEST(Rose, TheWidthMustDivideThePeriod) {
  const struct {
    double width;
    Sym sym;
    bool fits;
  } cases[] = {{10, Sym::axial, true},   {7.5, Sym::axial, true},      {7, Sym::axial, false},
               {24, Sym::axial, false},  {24, Sym::directional, true}, {0, Sym::directional, false},
               {-10, Sym::axial, false}, {std::nan(""), Sym::axial, false}, {0.01, Sym::axial, false}};
  for (const auto& c : cases) EXPECT_EQ(bin_width_error(c.width, c.sym).empty(), c.fits) << c.width;
}

TEST(Rose, AnAzimuthAndItsOppositeAreOneAxialBinAndPercentUsesN) {
  const std::vector<double> az{10, 190, 95, 275.5};
  const Rose axial = rose_of(az, {}, -5, 10, Sym::axial);
  ASSERT_EQ(axial.bins.size(), 18u);
  EXPECT_EQ(axial.bins[0].start, 355);
  EXPECT_EQ(axial.bins[0].end, 5);
  EXPECT_EQ(axial.bins[1].count, 2u);   // 10 and 190
  EXPECT_EQ(axial.bins[10].count, 2u);  // 95 and 275.5
  const Rose directional = rose_of(az, {}, 0, 10, Sym::directional);
  ASSERT_EQ(directional.bins.size(), 36u);
  EXPECT_EQ(directional.bins[35].end, 360);
  EXPECT_EQ(directional.bins[1].count + directional.bins[19].count, 2u);
  EXPECT_EQ(directional.bins[1].count, 1u);
}

TEST(Rose, AzimuthsOfWhatIsCounted) {
  data::DataSet planes;
  planes.planes = {{30, 40}, {200, 80}, {350, 10}};
  RoseSelection s;
  EXPECT_EQ(rose_sample(planes, s).azimuths, (std::vector<double>{300, 110, 260}));
  s.count = RoseCount::dip_direction;
  s.dips = std::pair{10.0, 40.0};  // inclusive
  EXPECT_EQ(rose_sample(planes, s).azimuths, (std::vector<double>{30, 350}));
  s.count = RoseCount::trend;
  EXPECT_FALSE(rose_sample(planes, s).error.empty());

  data::DataSet slips;
  slips.kind = data::Kind::slips;
  // Slips of known sense on a plane dipping east: the way the hanging wall moved.
  slips.slips = {{{90, 60}, {90, 60}, -90, true}, {{90, 60}, {90, 60}, 90, true}};
  const RoseSample trends = rose_sample(slips, {RoseCount::trend, {}, {}, 15});
  ASSERT_EQ(trends.azimuths.size(), 2u);
  EXPECT_NEAR(trends.azimuths[0], 90, 1e-9);   // normal: toward the dip
  EXPECT_NEAR(trends.azimuths[1], 270, 1e-9);  // reverse: up the dip

  data::DataSet lines;
  lines.kind = data::Kind::lines;
  lines.lines = {{123, 4}};
  EXPECT_EQ(rose_sample(lines, {RoseCount::trend, {}, {}, 15}).azimuths,
            (std::vector<double>{123}));
  EXPECT_FALSE(rose_sample(lines, {RoseCount::strike, {}, {}, 15}).error.empty());
}

TEST(Rose, TerzaghiWeightIsOneOverSineOfTheAngleCapped) {
  const double cap = 1 / std::sin(15 * kDeg);  // 3.8637
  const struct {
    data::Plane plane;
    data::Line line;
    double weight;
  } cases[] = {
      {{0, 60}, {0, 90}, 2.0},                       // vertical borehole: 1 / cos dip
      {{0, 0}, {0, 90}, 1.0},                        // a horizontal plane across it
      {{45, 80}, {0, 90}, cap},                      // 1 / cos 80 = 5.76, capped
      {{90, 90}, {90, 0}, 1.0},                      // a scanline square to the plane
      {{90, 90}, {60, 0}, 1 / std::sin(60 * kDeg)},  // 30 degrees off square
  };
  for (const auto& c : cases)
    EXPECT_NEAR(terzaghi_weight(c.plane, c.line, 15), c.weight, 1e-12) << c.plane.dip;
  data::DataSet planes;
  planes.planes = {{0, 60}, {0, 0}};
  const RoseSample s = rose_sample(planes, {RoseCount::strike, {}, data::Line{0, 90}, 15});
  ASSERT_EQ(s.weights.size(), 2u);
  const Rose r = rose_of(s.azimuths, s.weights, 0, 10, Sym::axial);
  EXPECT_NEAR(r.bins[9].weight, 2.0 + 1.0, 1e-12);  // strikes 270 and 270
  EXPECT_EQ(r.bins[9].count, 2u);
}

TEST(Rose, PigeonHomingDataGiveThePublishedRayleighTest) {
  // Mardia and Jupp (2000): Rbar 0.2229, p 0.62.
  const std::vector<double> az{55, 60, 65, 95, 100, 110, 260, 275, 285, 295};
  const CircularStatistics st = circular_statistics(az, {}, Sym::directional);
  EXPECT_NEAR(st.mean_resultant_length, 0.2229, 5e-5);
  EXPECT_NEAR(st.rayleigh_z, 10 * st.mean_resultant_length * st.mean_resultant_length, 1e-12);
  EXPECT_NEAR(st.rayleigh_p, 0.62, 0.005);
}

TEST(Rose, AxialMeansAreOnDoubledAngles) {
  // 170 and 10 are 20 degrees apart as axes: the mean axis is 0, not 90.
  const CircularStatistics st = circular_statistics(std::vector<double>{170, 10}, {}, Sym::axial);
  ASSERT_TRUE(st.mean);
  EXPECT_NEAR(std::remainder(*st.mean, 180.0), 0, 1e-9);
  EXPECT_NEAR(st.mean_resultant_length, std::cos(20 * kDeg), 1e-12);
  EXPECT_NEAR(st.circular_variance, 1 - std::cos(20 * kDeg), 1e-12);
  EXPECT_NEAR(*st.circular_sd, std::sqrt(-2 * std::log(std::cos(20 * kDeg))) / kDeg / 2, 1e-9);
  // An axis given by either end: one direction, where the directional mean has none.
  const std::vector<double> both_ends{40, 220, 40, 220};
  EXPECT_NEAR(*circular_statistics(both_ends, {}, Sym::axial).mean, 40, 1e-9);
  EXPECT_FALSE(circular_statistics(both_ends, {}, Sym::directional).mean);
}

TEST(Rose, RayleighOnAxialDataTestsTheDoubledAngles) {
  std::vector<double> bipolar;
  for (int i = 0; i < 50; ++i) bipolar.insert(bipolar.end(), {30.0 + i % 3, 210.0 - i % 3});
  const double directional = circular_statistics(bipolar, {}, Sym::directional).rayleigh_p;
  const CircularStatistics axial = circular_statistics(bipolar, {}, Sym::axial);
  EXPECT_GT(directional, 0.5);
  EXPECT_LT(axial.rayleigh_p, 1e-10);
  EXPECT_GE(axial.rayleigh_p, 0.0);
  // A huge Z: p stays in [0, 1].
  EXPECT_GE(rayleigh_p(1000000, 1.0), 0.0);
  EXPECT_LE(rayleigh_p(3, 0.0), 1.0);
}

TEST(Rose, TheIntervalOfTheMeanFollowsItsDefinition) {
  // -10, 0, 10: mean 0; rho2 = mean cos 2(theta - mean).
  const CircularStatistics st =
      circular_statistics(std::vector<double>{350, 0, 10}, {}, Sym::directional);
  const double rbar = (1 + 2 * std::cos(10 * kDeg)) / 3, rho2 = (1 + 2 * std::cos(20 * kDeg)) / 3;
  const double sigma = std::sqrt((1 - rho2) / (2 * 3 * rbar * rbar));
  ASSERT_TRUE(st.confidence95);
  EXPECT_NEAR(*st.confidence95, std::asin(1.96 * sigma) / kDeg, 1e-9);
  // The same azimuths as axes halve the doubled angles' interval.
  const CircularStatistics ax = circular_statistics(std::vector<double>{175, 0, 5}, {}, Sym::axial);
  EXPECT_NEAR(*ax.confidence95, *st.confidence95 / 2, 1e-9);
  // Too spread for an interval, or a single azimuth: none.
  EXPECT_FALSE(
      circular_statistics(std::vector<double>{0, 120, 200}, {}, Sym::directional).confidence95);
  EXPECT_FALSE(circular_statistics(std::vector<double>{10}, {}, Sym::directional).confidence95);
}

}  // namespace
}  // namespace polarsketch::analysis
