// Angle constants and degrees to radians.
#include "math/angles.hpp"

#include "report/report.hpp"

namespace polarsketch::math {

void reset_angle_records() {
  trig = Trig{};
  anglerad = Anglerad{};
  angleradi = Angleradi{};
  anglerads = Anglerads{};
}

namespace {

// The trig block. pi/2 is the float nearest the true value (3FC90FDB); every
// other constant is derived from it in single precision so the set is
// reproducible bit for bit.
void set_trig() {
  trig.pi2 = 1.5707964f;
  trig.pi = 2.0f * trig.pi2;
  trig.pi4 = 0.5f * trig.pi2;
  trig.radpdeg = trig.pi2 / 90.0f;
  trig.pi2i = trig.pi2 + (-kAngleTolerance);
  trig.pi2s = trig.pi2 + kAngleTolerance;
}

void set_anglerad() {
  anglerad.pi1o1 = trig.pi;
  anglerad.pi1o2 = 0.5f * anglerad.pi1o1;
  anglerad.pi1o3 = anglerad.pi1o1 / 3.0f;
  anglerad.pi1o4 = 0.25f * anglerad.pi1o1;
  anglerad.pi3o4 = 0.25f * (3.0f * anglerad.pi1o1);
  anglerad.pi3o2 = 0.5f * (3.0f * anglerad.pi1o1);
  anglerad.pi2o1 = 2.0f * anglerad.pi1o1;

  const float lo = -kAngleTolerance;
  angleradi.pi1o4i = anglerad.pi1o4 + lo;
  angleradi.pi1o3i = anglerad.pi1o3 + lo;
  angleradi.pi1o2i = anglerad.pi1o2 + lo;
  angleradi.pi3o4i = anglerad.pi3o4 + lo;
  angleradi.pi1o1i = anglerad.pi1o1 + lo;
  angleradi.pi3o2i = anglerad.pi3o2 + lo;
  angleradi.pi2o1i = anglerad.pi2o1 + lo;

  anglerads.pi1o4s = anglerad.pi1o4 + kAngleTolerance;
  anglerads.pi1o3s = anglerad.pi1o3 + kAngleTolerance;
  anglerads.pi1o2s = anglerad.pi1o2 + kAngleTolerance;
  anglerads.pi3o4s = anglerad.pi3o4 + kAngleTolerance;
  anglerads.pi1o1s = anglerad.pi1o1 + kAngleTolerance;
  anglerads.pi3o2s = anglerad.pi3o2 + kAngleTolerance;
  anglerads.pi2o1s = anglerad.pi2o1 + kAngleTolerance;

  anglerad.radodeg = anglerad.pi1o1 / 180.0f;
  anglerad.degorad = 180.0f / anglerad.pi1o1;
}

}  // namespace

void set_angle_constants() {
  set_trig();
  set_anglerad();
}

void trigoset() {
  // Filling the blocks prints nothing, so the note may come first.
  report::report(
      {report::Level::note,
       "trigoset",
       {report::Line("Initializing /trig/ block"), report::Line("Initializing /anglerad/ block")},
       {}});
  set_trig();
  set_anglerad();
}

float rad(float deg) { return deg * anglerad.radodeg; }

}  // namespace polarsketch::math
