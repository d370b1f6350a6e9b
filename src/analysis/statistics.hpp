// Statistics of a set of orientations given as unit vectors (x north, y east,
// z down): the resultant and mean direction with Fisher's concentration and
// 95 % confidence cone, and the orientation tensor with its eigenvalues,
// eigenvectors, Woodcock's shape and strength and the best-fit great circle.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace polarsketch::analysis {

// A direction in space: x north, y east, z down.
using Vector3 = std::array<double, 3>;
// A rotation as a 3x3 matrix acting on column vectors (x north, y east, z down).
using Matrix3 = std::array<std::array<double, 3>, 3>;

// A direction as trend (azimuth, [0, 360)) and plunge ([0, 90]), degrees.
struct TrendPlunge {
  double trend = 0;
  double plunge = 0;
};

// The trend and plunge of the lower-hemisphere end of a nonzero vector.
TrendPlunge trend_plunge(const Vector3& v);

// A plane as dip direction and dip, degrees.
struct DipDirection {
  double dip_direction = 0;
  double dip = 0;
};

// Every value that cannot be computed for the data at hand is empty.
struct Statistics {
  std::size_t n = 0;
  double resultant = 0;             // R, length of the vector sum
  std::optional<TrendPlunge> mean;  // empty when R = 0
  std::optional<double> fisher_k;   // (n - 1) / (n - R); empty for n < 2 or R = n
  std::optional<double> alpha95;    // degrees; empty for n < 2, R = 0 or a cone past 180
  // Orientation tensor: eigenvalues s1 >= s2 >= s3 (sum 1) and their
  // eigenvectors; an eigenvector is empty when its eigenvalue is not distinct.
  std::optional<std::array<double, 3>> eigenvalues;  // empty for n = 0
  std::array<std::optional<TrendPlunge>, 3> eigenvectors;
  std::optional<double> woodcock_k;  // ln(s1/s2) / ln(s2/s3); empty when s1 = s2 or s2 = s3
  std::optional<double> woodcock_c;  // ln(s1/s3)
  // The best-fit great circle (its pole is the third eigenvector) and its
  // axis, the beta axis (the third eigenvector itself).
  std::optional<DipDirection> girdle;
  std::optional<TrendPlunge> beta_axis;
  // Bingham statistics of the tensor, for concentrated data: the
  // concentrations toward v2 and v3, k_i = -1/(2 s_i) (so k3 <= k2 <= 0),
  // and the semi-angles in degrees of the 95 % confidence ellipse about v1
  // toward v2 and v3 (Onstott 1980): sqrt(-2 ln 0.05) * sqrt(1/(-2 n k_i
  // (s1 - s_i))) radians. Empty unless s1 > s2 >= s3 > 0; a semi-angle past
  // 90 degrees is empty. (With s2 = s3 the ellipse is a circle.)
  std::optional<double> bingham_k2, bingham_k3;
  std::optional<double> bingham_semi_v2, bingham_semi_v3;
};

// How the directions are taken: as axes (v and -v are one datum: poles of
// planes, lines, slip lines of unknown sense) or as vectors with a polarity
// (slips of known sense).
enum class Directions { axes, vectors };

// Statistics of unit vectors. Axes are summed for the mean, R, k and alpha95
// after each is turned to the side of the principal eigenvector v1 (the end
// whose dot product with v1 is positive); an axis at right angles to v1, and
// every axis when v1 is not defined (s1 = s2), counts by the end passed in.
// Vectors are summed as given. The mean is given by its lower-hemisphere end.
// O(n), no allocation.
Statistics compute_statistics(std::span<const Vector3> vectors,
                              Directions directions = Directions::axes);

}  // namespace polarsketch::analysis
