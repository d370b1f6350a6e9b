// A page turned into the frame of its view: the net centred on another
// direction than the vertical is an ordinary net of the rotated directions.
#include <stdexcept>

#include "analysis/rotation.hpp"
#include "figure/page.hpp"

namespace polarsketch::figure {
namespace {

void rotate_statistics(analysis::Statistics& s, const analysis::Matrix3& r) {
  if (s.mean) s.mean = analysis::rotated_axis(r, *s.mean);
  for (std::optional<analysis::TrendPlunge>& v : s.eigenvectors)
    if (v) v = analysis::rotated_axis(r, *v);
  if (s.girdle) s.girdle = analysis::rotated_plane(r, *s.girdle);
  if (s.beta_axis) s.beta_axis = analysis::rotated_axis(r, *s.beta_axis);
}

// A cone about the lower end of its rotated axis: a cone of axes about one
// end is the cone about the other, so the half-angle stays.
void rotate_cone(analysis::ConeFit& c, const analysis::Matrix3& r) {
  c.axis = analysis::rotated_axis(r, c.axis);
  c.great_pole = analysis::rotated_axis(r, c.great_pole);
}

}  // namespace

std::optional<Page> seen_in_view(const Page& page) {
  const std::optional<analysis::Matrix3> r =
      page.view ? analysis::view_rotation(*page.view) : std::nullopt;
  if (!r) return std::nullopt;
  if (page.kinematics)
    throw std::invalid_argument("slope kinematics cannot be drawn on a net centred off the vertical");
  if (page.density && !page.density->grid.view)
    throw std::invalid_argument("the density layer was not computed for the page's view");
  Page seen = page;
  // Slips keep the motion of their blocks, so their arrows show it in the
  // view's frame; the labels and legend follow their sets unchanged.
  for (PageSet& set : seen.sets) set.data = analysis::rotated(set.data, *r);
  for (analysis::Statistics& s : seen.statistics) rotate_statistics(s, *r);
  for (std::optional<analysis::ConeFit>& c : seen.cones)
    if (c) rotate_cone(*c, *r);
  if (seen.faults.stress)
    for (analysis::Vector3& axis : seen.faults.stress->axes) axis = analysis::rotate(*r, axis);
  return seen;
}

}  // namespace polarsketch::figure
