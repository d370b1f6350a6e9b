// The main program's parameters: the orientation, small-circle and stereonet values
// the drawing commands use, the plot file name and the plot size type.
#pragma once

#include <cstdint>

#include "console/fixed_text.hpp"
#include "console/identity.hpp"
#include "console/indexed.hpp"

namespace polarsketch::app {

// Identity of the program, handed to the banners, menu header and closing art.
using console::kDate;
using console::kProgname;
using console::kVersion;

// Number of plot size types (each one is the subplot of the same number).
inline constexpr std::int32_t npltsize = 3;

// Parameters kept by the main program for the whole run (angles in degrees).
struct MainParams {
  float az = 90.0f;                        // azimuth: axis trend, plane/slip strike, net strike
  float dip = 45.0f;                       // dip of a plane or plunge of an axis
  float rake = -90.0f;                     // rake of the slip
  float scang = 30.0f;                     // half apex angle of the single small circle
  float ang01 = 90.0f;                     // initial angle of the small-circle arc
  float ang02 = 270.0f;                    // final angle of the small-circle arc
  std::int32_t idg = 5;                    // great-circle increment of the nets (degrees)
  float d1 = 10.0f;                        // first bounding great-circle dip
  float d2 = 80.0f;                        // second bounding great-circle dip
  std::int32_t ids = 5;                    // small-circle increment of the nets (degrees)
  float ang1 = 10.0f;                      // first bounding small-circle half angle
  float ang2 = 80.0f;                      // second bounding small-circle half angle
  std::int32_t isp = 2;                    // full (1) or half (2) sphere for the standard net
  bool ldrwframe = true;                   // draw the stereonet frame at each plot preparation
  FixedText<50> pfnam{"polar_sketch.ps"};  // plot file name handed to plinit
  std::int32_t ipltsize = 1;               // plot size type, 1 to npltsize
  Indexed<FixedText<16>, 1, 3> cpltsize{
      {FixedText<16>{"Adjustable scale"}, FixedText<16>{"Fsa small stereo"},
       FixedText<16>{"Fsa large stereo"}}};  // names of the plot size types
};

}  // namespace polarsketch::app
