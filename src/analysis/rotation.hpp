// Rotations of orientation data about axes in north-east-down space: the
// matrix of a rotation (Rodrigues), unfolding a bed about its strike line,
// composition in the order the steps are given, the net rotation as one
// axis and angle, and a whole data set rotated.
#pragma once

#include <array>

#include "analysis/statistics.hpp"
#include "data/measurements.hpp"

namespace polarsketch::analysis {

Matrix3 identity_matrix();

// The unit vector of a trend and plunge; a negative plunge points up.
Vector3 direction(double trend, double plunge);

// The rotation by `degrees` about the axis TREND/PLUNGE by the right-hand
// rule: positive is clockwise looking along the axis in the direction it
// points. An upward axis (negative plunge) turns the other way round than
// its lower end would.
Matrix3 axis_rotation(double trend, double plunge, double degrees);

// The rotation about the strike line (right-hand rule: the plane dips toward
// strike + 90) by minus the dip, which makes the plane DIP_DIRECTION/DIP
// horizontal.
Matrix3 unfolding(double dip_direction, double dip);

// `first` followed by `second`: the product second * first.
Matrix3 followed_by(const Matrix3& first, const Matrix3& second);

Vector3 rotate(const Matrix3& r, const Vector3& v);

// A rotation as one axis (lower-hemisphere end) and angle in degrees,
// [-180, 180], by the right-hand rule about that end. The identity is
// 0 degrees about 000/90.
struct AxisAngle {
  TrendPlunge axis;
  double angle = 0;
};
AxisAngle net_rotation(const Matrix3& r);

// The data set rotated: planes through their poles, lines as axes, a slip's
// plane and line together. Axes come back to the lower hemisphere. A slip of
// known sense keeps the motion of its blocks: its rake names the motion of
// the block that is the hanging wall after the rotation. Attributes and
// labels are kept as they are.
data::DataSet rotated(const data::DataSet& set, const Matrix3& r);

}  // namespace polarsketch::analysis
