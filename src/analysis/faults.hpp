// Fault-slip analysis: the slip vector and normal of a fault, its P, T and B
// axes, the right-dihedra field and the inversion of slips for a reduced
// stress tensor. Vectors are unit vectors, x north, y east, z down; angles in
// degrees. Stresses are compression positive: sigma1 is the most compressive.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/contours.hpp"
#include "analysis/statistics.hpp"
#include "data/measurements.hpp"

namespace polarsketch::analysis {

// A fault of known sense by its vectors (Aki-Richards): `normal` the plane's
// normal pointing up into the hanging wall, `slip` the hanging wall's slip
// direction (may point up). A vertical plane has no hanging wall: the side of
// its dip direction (strike + 90, right-hand rule) is taken as one.
struct FaultVectors {
  Vector3 normal{};
  Vector3 slip{};
};

// The vectors of a plane (dip direction, dip) and an Aki-Richards rake
// (-90 normal, +90 reverse, 0 sinistral, 180 dextral).
FaultVectors fault_vectors(const data::Plane& plane, double rake);

// The azimuth the hanging wall moves toward (the slip's horizontal part,
// as an arrow on a net shows it): outward along the dip for a normal fault,
// inward for a reverse one, along the strike for strike-slip. A vertical
// slip moves the dip direction's side: down, the dip direction; up, opposite.
double slip_azimuth(const FaultVectors& fault, const data::Plane& plane);

// P, T and B of a fault (Marrett and Allmendinger 1990): theta is the angle
// between P and the plane in the movement plane (45 by default).
// P = sin(theta) n - cos(theta) s, T = cos(theta) n + sin(theta) s, B = n x s.
struct KinematicAxes {
  Vector3 p{}, t{}, b{};
};
KinematicAxes kinematic_axes(const FaultVectors& fault, double theta = 45);

// The dominant sense of a rake: 'N' normal, 'R' reverse, 'D' dextral,
// 'S' sinistral.
char sense_letter(double rake);

// The share (0 to 1) of faults whose compressional dihedron holds the
// direction d, (d.n)(d.s) < 0; a direction on a nodal plane counts one half.
double dihedra_share(std::span<const FaultVectors> faults, const Vector3& d);

// The right-dihedra field on a grid over the net (as density_grid lays it
// out): at each node the percentage (0 to 100) of the faults whose
// compressional dihedron holds the node's direction (with a view, the
// direction the view takes to the node's point).
NetGrid dihedra_grid(std::span<const FaultVectors> faults, Projection projection,
                     std::size_t cells = 100, const std::optional<Matrix3>& view = std::nullopt);

// The inversion methods, one table.
enum class StressMethod { angelier, michael };
struct StressMethodInfo {
  StressMethod method;
  std::string_view name;
  std::string_view description;
};
std::span<const StressMethodInfo> stress_methods();
const StressMethodInfo& method_info(StressMethod method);

// A reduced stress tensor found by an inversion, and the misfit of each fault.
struct StressResult {
  StressMethod method = StressMethod::angelier;
  bool iterated = false;
  std::size_t iterations = 1;
  bool settled = true;  // false when re-weighting stopped at its step limit
  // Principal axes, sigma1 the most compressive, as unit vectors.
  std::array<Vector3, 3> axes{};
  std::array<double, 3> values{};  // principal values, normalised (see tensor)
  double phi = 0;                  // (s2 - s3) / (s1 - s3)
  double r = 0;                    // (s1 - s2) / (s1 - s3) = 1 - phi
  // The deviatoric tensor scaled to a Frobenius norm of sqrt(3/2)
  // (row-major, compression positive), the scale RUP is measured at.
  std::array<double, 9> tensor{};
  std::vector<double> ang;  // per fault: angle between resolved shear and slip, degrees
  std::vector<double> rup;  // per fault: 100 |tau - lambda s| / lambda, lambda = sqrt(3)/2
  double mean_ang = 0;
};

// The resolved shear stress a tensor (row-major, compression positive) puts
// on a fault, signed so that a slip obeying it (Wallace-Bott) is parallel to it.
Vector3 resolved_shear(const std::array<double, 9>& tensor, const Vector3& normal);

// Inverts the faults (at least 4) for a reduced stress tensor; `iterate`
// re-weights each fault by its resolved shear magnitude until the weights
// settle (Mostafa 2005).
StressResult invert_stress(std::span<const FaultVectors> faults, StressMethod method,
                           bool iterate);

// The faults of known sense among slips, and how many were skipped.
struct KnownFaults {
  std::vector<FaultVectors> faults;
  std::vector<std::size_t> rows;  // each fault's index in the slips
  std::size_t skipped = 0;
};
KnownFaults known_faults(std::span<const data::Slip> slips);

}  // namespace polarsketch::analysis
