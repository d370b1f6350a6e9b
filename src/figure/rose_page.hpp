// A rose page as plain values: the sheet, the rose and the words of its
// legend. The command line maps its options to a RosePage; the figure room
// draws it (the layers in layers.cpp's rose list) and writes it.
#pragma once

#include <string>
#include <vector>

#include "analysis/rose.hpp"
#include "figure/page.hpp"

namespace polarsketch::figure {

// Petal radius proportional to the square root of the bin's share (equal
// area) or to the share itself (linear).
enum class RoseScale { area, linear };

struct RosePage {
  // The sheet and how it is written, as for a stereonet Page.
  const FigureFormat* format = nullptr;  // nullptr: the PostScript plot file
  std::string title;
  Paper paper = Paper::portrait;
  int dialect = 2;
  bool whole_page = false;
  int dpi = 150;
  // The rose and how it is drawn.
  analysis::Rose rose;
  RoseScale scale = RoseScale::area;
  // The legend's words.
  std::string counted;               // "strikes of planes"
  std::vector<std::string> sources;  // the files, as shown
  std::string weighting;             // "none", or the scanline and its bias
  std::string selection;             // "dips 30 to 60", or empty
};

// The rings of a rose: every `step` percent up to `outer` percent, the
// rose's rim (at least the largest bin's share).
struct RoseRings {
  double step = 1;
  double outer = 1;
};
RoseRings rose_rings(const analysis::Rose& rose);

// The radius (the rim 1) of a share in percent under the scale.
double rose_radius(double percent, const RoseRings& rings, RoseScale scale);

// Each bin's share in percent of the rose's summed weights (of n unweighted).
double bin_percent(const analysis::RoseBin& bin, const analysis::Rose& rose);

}  // namespace polarsketch::figure
