// Slope kinematics: which planes of a joint survey, and which intersection
// lines of their pairs, can slide or topple out of a rock slope face. Each
// failure mode is a line of one table (name, description, evaluator).
// Directions are unit vectors, x north, y east, z down; angles in degrees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/statistics.hpp"

namespace polarsketch::analysis {

// Every boundary is inclusive within this many degrees: a plane dipping at
// the friction angle, or at the slope's apparent dip, is critical. Strict
// boundaries (a direction exactly 90 degrees from the slope's dip direction
// does not daylight) are decided with the same margin, so that rounding
// cannot flip them.
constexpr double kBoundaryTolerance = 1e-9;

// How the lateral limits are measured: on the dip direction (or trend) about
// the slope's dip direction, or as the angle between the pole (or line) and
// the vertical plane through the slope's dip direction.
enum class LateralLimits { straight, curved };

// The slope face and the strength and extent conditions of the analysis.
struct Slope {
  double dip_direction = 0;  // of the slope face
  double dip = 0;            // of the slope face, (0, 90]
  double friction = 30;      // friction angle, [0, 90)
  double lateral = 20;       // lateral limit, [0, 90]
  LateralLimits limits = LateralLimits::straight;
};

enum class KinematicMode { planar, wedge, flexural, direct };

// Primary: the mode's critical zone. Secondary: planar and flexural outside
// the lateral limits, wedge sliding on one plane, oblique toppling. Base: a
// plane that can carry a toppling block (direct toppling).
enum class KinematicZone { primary, secondary, base };

std::string_view zone_name(KinematicZone zone);

// One critical plane or pair: the planes' indices (b is kSinglePlane for a
// plane) and the direction the mode judged, the pole or the intersection
// line, at its lower end.
constexpr std::uint32_t kSinglePlane = UINT32_MAX;
struct KinematicItem {
  KinematicZone zone = KinematicZone::primary;
  std::uint32_t a = 0;
  std::uint32_t b = kSinglePlane;
  Vector3 direction{};
};

struct KinematicResult {
  KinematicMode mode = KinematicMode::planar;
  // False when the slope dips no steeper than the friction angle: planar and
  // wedge sliding have no zone, and the counts are not percentages of anything.
  bool has_zone = true;
  std::size_t primary = 0;
  std::size_t secondary = 0;
  // The denominator: planes (planar, flexural) or pairs with an intersection
  // line (wedge, direct).
  std::size_t total = 0;
  std::size_t parallel_pairs = 0;  // pairs left out of `total`: no intersection line
  // Direct toppling: planes dipping less than the friction angle, of all the
  // planes. Without one no block has a base and no pair is critical.
  std::size_t base_planes = 0;
  std::size_t planes = 0;
  std::vector<KinematicItem> items;  // filled when asked for
};

struct KinematicModeEntry {
  KinematicMode mode;
  std::string_view name;         // as options and reports name it
  std::string_view description;  // one line
  std::string_view secondary;    // what its secondary zone holds, a few words
  // The mode's counts for the planes; `keep_items` also lists every critical item.
  KinematicResult (*evaluate)(const Slope& slope, std::span<const DipDirection> planes,
                              bool keep_items);
};

// Every mode, in the order reports list them.
std::span<const KinematicModeEntry> kinematic_modes();
const KinematicModeEntry& kinematic_mode(KinematicMode mode);
std::optional<KinematicMode> parse_kinematic_mode(std::string_view name);

// Why the slope's values cannot be analysed (a dip outside (0, 90], a
// friction angle outside [0, 90), a lateral limit outside [0, 90], a value
// that is not finite); empty when they can.
std::string_view slope_error(const Slope& slope);

// The apparent dip (degrees) of a plane dipping `dip` seen in a vertical
// section `azimuth` degrees from its dip direction: atan(tan dip cos azimuth).
double apparent_dip(double dip, double azimuth);

// A mode's construction on the net: named curves, each a run of
// lower-hemisphere points, and the critical zone's outline (closed, the first
// point not repeated; empty when the mode has none). Planar sliding and
// flexural toppling are drawn on poles, wedge sliding and direct toppling on
// intersection lines.
struct ConstructionCurve {
  std::string_view name;  // "slope face", "friction cone", "lateral limit", ...
  std::vector<Vector3> points;
};
struct KinematicConstruction {
  bool poles = true;  // the net shows poles (else lines)
  std::vector<ConstructionCurve> curves;
  std::vector<Vector3> zone;
};
KinematicConstruction kinematic_construction(const Slope& slope, KinematicMode mode);

// The intersection line of every pair of planes that has one, at its lower
// end (unit vectors), in the order of the pairs.
std::vector<Vector3> intersection_lines(std::span<const DipDirection> planes);

}  // namespace polarsketch::analysis
