// The layers of a page, each drawn by one routine in a file of its own and
// listed, in the order they are drawn, in layers.cpp.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "figure/drawing.hpp"
#include "figure/page.hpp"
#include "figure/rose_page.hpp"

namespace polarsketch::figure {

// What the layers learn of the page as it is drawn.
struct Sheet {
  NetPlacement net;
  std::size_t legend_rows = 0;  // rows the sets' legend took
  StatisticsMarks statistics_drawn;  // the statistics marks some set got
};

// Rows the density legend takes (its title and a row per band shown); 0 when
// the page has no density.
std::size_t density_legend_rows(const Page& page);
// Height (cm) of the fault legend's rows; 0 when it has none.
float fault_legend_height(const Page& page);
// Rows the statistics key takes: one per kind of mark drawn.
std::size_t statistics_key_rows(const StatisticsMarks& drawn);

struct Layer {
  std::string_view name;
  void (*draw)(const Page& page, Sheet& sheet);
};

// Every layer, bottom first.
std::span<const Layer> page_layers();

// Draws the page into the plot file open in the current batch session:
// places the net, then draws every layer, as the page's view shows it.
void draw_page(const Page& page);
// The same for a page whose directions are in the net's frame already.
void draw_layers(const Page& page);

// The layers' routines; each draws nothing when the page has none of its content.
void draw_run_information(const Page& page, Sheet& sheet);  // run_information.cpp
void draw_density_bands(const Page& page, Sheet& sheet);    // density_bands.cpp
void draw_nets(const Page& page, Sheet& sheet);             // nets.cpp
void draw_contour_lines(const Page& page, Sheet& sheet);    // contour_lines.cpp
void draw_data_sets(const Page& page, Sheet& sheet);        // data_sets.cpp
void draw_labels(const Page& page, Sheet& sheet);           // labels.cpp
void draw_statistics(const Page& page, Sheet& sheet);       // statistics_marks.cpp
void draw_fault_arrows(const Page& page, Sheet& sheet);     // fault_arrows.cpp
void draw_fault_axes(const Page& page, Sheet& sheet);       // fault_axes.cpp
void draw_kinematic_zone(const Page& page, Sheet& sheet);   // kinematic_zone.cpp
void draw_kinematics(const Page& page, Sheet& sheet);       // kinematic_marks.cpp
void draw_cone_fits(const Page& page, Sheet& sheet);        // cone_fits.cpp
void draw_frame(const Page& page, Sheet& sheet);            // frame.cpp
void draw_caption(const Page& page, Sheet& sheet);          // caption.cpp
void draw_legend(const Page& page, Sheet& sheet);           // legend.cpp
void draw_density_legend(const Page& page, Sheet& sheet);   // density_legend.cpp
void draw_fault_legend(const Page& page, Sheet& sheet);     // fault_legend.cpp
void draw_statistics_key(const Page& page, Sheet& sheet);   // statistics_key.cpp
void draw_heading(const Page& page, Sheet& sheet);          // heading.cpp

// A rose page: where the rose stands (its rim at radius 1 in user units)
// and its rings.
struct RoseSheet {
  NetPlacement net;
  RoseRings rings;
};

struct RoseLayer {
  std::string_view name;
  void (*draw)(const RosePage& page, const RoseSheet& sheet);
};

// Every layer of a rose page, bottom first.
std::span<const RoseLayer> rose_layers();

// Draws the rose page into the plot file open in the current batch session.
void draw_rose_page(const RosePage& page);

// The rose page's layers' routines.
void draw_rose_rings(const RosePage& page, const RoseSheet& sheet);   // rose_rings.cpp
void draw_rose_petals(const RosePage& page, const RoseSheet& sheet);  // rose_petals.cpp
void draw_rose_mean(const RosePage& page, const RoseSheet& sheet);    // rose_mean.cpp
void draw_rose_frame(const RosePage& page, const RoseSheet& sheet);   // rose_frame.cpp
void draw_rose_legend(const RosePage& page, const RoseSheet& sheet);  // rose_legend.cpp

}  // namespace polarsketch::figure
