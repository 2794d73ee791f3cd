#include "analysis/leg_readings.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kRadian = std::numbers::pi / 180;

}  // namespace

TLegPolar PolarOf(Vec3 vector) {
  TLegPolar polar;
  const double horizontal = std::hypot(vector.X, vector.Y);
  polar.Tape = std::hypot(horizontal, vector.Z);
  if (horizontal > 0) {
    polar.Compass = std::atan2(vector.X, vector.Y) / kRadian;
    if (polar.Compass < 0) polar.Compass += 360;
    if (polar.Compass >= 360) polar.Compass -= 360;
  }
  if (polar.Tape > 0) polar.Clino = std::atan2(vector.Z, horizontal) / kRadian;
  return polar;
}
