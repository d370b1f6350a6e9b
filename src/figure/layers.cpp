// The lists of a page's layers (the stereonet page's and the rose page's),
// and each page drawn layer by layer.
#include "figure/layers.hpp"

#include "plot/coords.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::figure {
namespace {

// Bottom first: the density bands under the nets, the data over both, the
// frame over the data; the caption and legends beside the net; the fault
// marks (arrows, P, T, B, stress axes) over everything, readable on any band.
constexpr Layer kLayers[] = {
    {"run information", draw_run_information},
    {"density bands", draw_density_bands},
    {"kinematic zone", draw_kinematic_zone},
    {"nets", draw_nets},
    {"contour lines", draw_contour_lines},
    {"data sets", draw_data_sets},
    {"labels", draw_labels},
    {"statistics", draw_statistics},
    {"kinematics", draw_kinematics},
    {"cone fits", draw_cone_fits},
    {"frame", draw_frame},
    {"caption", draw_caption},
    {"legend", draw_legend},
    {"density legend", draw_density_legend},
    {"fault legend", draw_fault_legend},
    {"statistics key", draw_statistics_key},
    {"heading", draw_heading},
    {"fault arrows", draw_fault_arrows},
    {"fault axes", draw_fault_axes},
};

// Bottom first: the rings under the petals, the mean over them, the rim
// with its ticks and the rings' labels over all, the legend beside the rose.
constexpr RoseLayer kRoseLayers[] = {
    {"rings", draw_rose_rings}, {"petals", draw_rose_petals}, {"mean", draw_rose_mean},
    {"frame", draw_rose_frame}, {"legend", draw_rose_legend},
};

// Projection numbers of the plot library with North up and East right.
constexpr std::int32_t kSchmidtRetrograde = 4;  // equal area
constexpr std::int32_t kWulffRetrograde = 2;    // equal angle

// User units of the first subplot: the net's (or rose's) centre at 0, its rim at 1.
void place_user_units(const NetPlacement& net) {
  std::int32_t isa = 1;
  plot::ssubplot(isa, 1);
  float x0 = net.x_cm, y0 = net.y_cm, xx = net.radius_cm, xy = 0.0f, yx = 0.0f, yy = net.radius_cm;
  plot::sus2cm1(x0, y0, xx, xy, yx, yy, 1);
}

}  // namespace

std::span<const Layer> page_layers() { return kLayers; }
std::span<const RoseLayer> rose_layers() { return kRoseLayers; }

void draw_page(const Page& page) {
  // A net centred off the vertical: the page turned into the view's frame.
  const std::optional<Page> seen = seen_in_view(page);
  draw_layers(seen ? *seen : page);
}

void draw_layers(const Page& page) {
  Sheet sheet{net_placement(page.paper), 0, {}};
  place_user_units(sheet.net);
  std::int32_t projection =
      page.projection == Projection::equal_area ? kSchmidtRetrograde : kWulffRetrograde;
  stereonet::sspro(projection, 1);
  for (const Layer& layer : kLayers) layer.draw(page, sheet);
}

void draw_rose_page(const RosePage& page) {
  const RoseSheet sheet{rose_placement(page.paper), rose_rings(page.rose)};
  place_user_units(sheet.net);
  for (const RoseLayer& layer : kRoseLayers) layer.draw(page, sheet);
}

}  // namespace polarsketch::figure
