#pragma once
// Readings and vectors for the analysis: a leg's vector and covariance from
// its readings (surveys/leg_vector.h, as the raw data reader computes legs),
// and the readings a vector stands for.

#include <array>

#include "core/vector3.h"
#include "surveys/leg_vector.h"

// The readings a vector stands for: length in metres, compass in degrees
// 0 <= compass < 360 (0 when horizontal length is zero), clino in degrees -90..90.
struct TLegPolar {
  double Tape = 0, Compass = 0, Clino = 0;
};
TLegPolar PolarOf(Vec3 vector);
