// The kinematic layer's content: one mode judged on the sets' planes.
#include "figure/page.hpp"
#include "tables/kinematics_table.hpp"

namespace polarsketch::figure {
namespace {

// Intersection lines drawn at most: each is a symbol in the file, and the
// pairs of a thousand planes would make a plot file of hundreds of megabytes.
constexpr std::size_t kMostLinesDrawn = 10000;

// Every `stride`-th direction, the first kept.
std::vector<analysis::Vector3> every(const std::vector<analysis::Vector3>& v, std::size_t stride) {
  std::vector<analysis::Vector3> kept;
  for (std::size_t i = 0; i < v.size(); i += stride) kept.push_back(v[i]);
  return kept;
}

}  // namespace

KinematicLayer kinematic_layer(const std::vector<data::DataSet>& sets, const analysis::Slope& slope,
                               analysis::KinematicMode mode) {
  const tables::Survey survey = tables::survey_of(sets);
  const analysis::KinematicModeEntry& m = analysis::kinematic_mode(mode);
  const analysis::KinematicResult r = m.evaluate(slope, survey.planes, true);
  KinematicLayer layer;
  layer.mode = mode;
  layer.construction = analysis::kinematic_construction(slope, mode);
  if (!layer.construction.poles) layer.lines = analysis::intersection_lines(survey.planes);
  for (const analysis::KinematicItem& item : r.items)
    if (item.zone == analysis::KinematicZone::primary) layer.critical.push_back(item.direction);
  const bool pairs = !layer.construction.poles;
  const std::string slope_text = "slope " + tables::angle_text(slope.dip_direction) + "/" +
                                 tables::angle_text(slope.dip) + ", friction " +
                                 tables::angle_text(slope.friction);
  if (!r.has_zone) {
    layer.legend = std::string(m.name) + ": no planar or wedge zone (" + slope_text + ")";
  } else {
    layer.legend = std::string(m.name) + ": " + std::to_string(r.primary) + " of " +
                   std::to_string(r.total) + (pairs ? " pairs" : " planes") + " critical (" +
                   tables::percent(r.primary, r.total) + "); " + slope_text;
  }
  // A survey of many pairs: an even sample of the lines drawn, and said so.
  const std::size_t stride = (layer.lines.size() + kMostLinesDrawn - 1) / kMostLinesDrawn;
  if (stride > 1) {
    layer.lines = every(layer.lines, stride);
    layer.critical = every(layer.critical, stride);
    layer.legend += "; one intersection in " + std::to_string(stride) + " drawn";
  }
  return layer;
}

}  // namespace polarsketch::figure
