// The circle families of the standard and polar nets.
#include "stereonet/nets.hpp"

#include "math/angles.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::stereonet {

namespace {

using math::rad;

float deg(std::int32_t v) { return static_cast<float>(v); }

void plane(float az_rad, float dip_rad) { dspgcfadn(&az_rad, &dip_rad, 1); }

}  // namespace

std::int64_t loop_count(std::int64_t a, std::int64_t b, std::int64_t s) {
  if (s == 0) return 0;
  const std::int64_t n = (b - a + s) / s;
  return n > 0 ? n : 0;
}

void standard_net_great_circles(std::int32_t idg, std::int32_t isp) {
  const std::int32_t iend = (isp == 1) ? 360 : 180;
  for_step(0, iend, idg, [](std::int32_t i0) { plane(0.0f, rad(deg(i0))); });
}

void standard_net_small_circles(std::int32_t ids, std::int32_t isp) {
  float t1 = 0.0f, t2 = 0.0f;
  if (isp == 1) {
    t1 = 0.0f;
    t2 = rad(360.0f);
  } else {
    t1 = rad(90.0f);
    t2 = rad(270.0f);
  }
  for_step(0, 89, ids, [&](std::int32_t i0) {
    dspscafaph(0.0f, 0.0f, rad(deg(i0)), t1, t2);
    dspscafaph(rad(180.0f), 0.0f, rad(deg(i0)), t1, t2);
  });
}

void polar_net_planes(std::int32_t idg) {
  for_step(0, 360, idg, [](std::int32_t i0) { plane(rad(deg(i0)), rad(90.0f)); });
}

void polar_net_cones(std::int32_t ids) {
  for_step(0, 89, ids,
           [](std::int32_t i0) { dspscafaph(0.0f, rad(90.0f), rad(deg(i0)), 0.0f, rad(360.0f)); });
}

}  // namespace polarsketch::stereonet
