#pragma once
// A leg's vector and its expected error from its readings: tape, compass and
// clino with their standard deviations, propagated to east, north and up to
// first order. This is the one place in the analysis that turns readings
// into vectors; a reader of raw survey files computes legs the same way.

#include <array>

#include "core/vector3.h"

// A leg's vector in metres (X east, Y north, Z up) and its covariance in
// square metres as XX, XY, XZ, YY, YZ, ZZ (the layout of TLegMeasurement).
struct TLegVector {
  Vec3 Vector;
  std::array<double, 6> Covariance{};
};

// The leg measured as tape (metres), compass and clino (degrees, clino
// positive up) with the given standard deviations (metres, degrees). The
// covariance is J diag(tapeSd^2, compassSd^2, clinoSd^2) J^T with J the
// derivatives of the vector by the three readings. A plumbed leg (clino
// +-90) has no compass; its horizontal error is (tape x clinoSd) in every
// horizontal direction rather than in the compass's one.
TLegVector LegFromReadings(double tape, double compass, double clino, double tapeSd, double compassSd, double clinoSd);

// The readings a vector stands for: length in metres, compass in degrees
// 0 <= compass < 360 (0 when horizontal length is zero), clino in degrees -90..90.
struct TLegPolar {
  double Tape = 0, Compass = 0, Clino = 0;
};
TLegPolar PolarOf(Vec3 vector);
