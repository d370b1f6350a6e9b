// The list of a page's layers, and the page drawn layer by layer.
#include "figure/layers.hpp"

#include "plot/coords.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::figure {
namespace {

// Bottom first: the density bands under the nets, the data over both, the
// frame over the data; the caption and legends beside the net.
constexpr Layer kLayers[] = {
    {"run information", draw_run_information},
    {"density bands", draw_density_bands},
    {"kinematic zone", draw_kinematic_zone},
    {"nets", draw_nets},
    {"contour lines", draw_contour_lines},
    {"data sets", draw_data_sets},
    {"statistics", draw_statistics},
    {"kinematics", draw_kinematics},
    {"frame", draw_frame},
    {"caption", draw_caption},
    {"legend", draw_legend},
    {"density legend", draw_density_legend},
};

// Projection numbers of the plot library with North up and East right.
constexpr std::int32_t kSchmidtRetrograde = 4;  // equal area
constexpr std::int32_t kWulffRetrograde = 2;    // equal angle

}  // namespace

std::span<const Layer> page_layers() { return kLayers; }

void draw_page(const Page& page) {
  Sheet sheet{net_placement(page.paper)};
  const NetPlacement& net = sheet.net;
  std::int32_t isa = 1;
  plot::ssubplot(isa, 1);
  float x0 = net.x_cm, y0 = net.y_cm, xx = net.radius_cm, xy = 0.0f, yx = 0.0f, yy = net.radius_cm;
  plot::sus2cm1(x0, y0, xx, xy, yx, yy, 1);
  std::int32_t projection =
      page.projection == Projection::equal_area ? kSchmidtRetrograde : kWulffRetrograde;
  stereonet::sspro(projection, 1);
  for (const Layer& layer : kLayers) layer.draw(page, sheet);
}

}  // namespace polarsketch::figure
