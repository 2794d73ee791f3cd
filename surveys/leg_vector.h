#pragma once
// A leg's vector and its expected error from its readings: tape, compass and
// clino with their standard deviations, propagated to east, north and up to
// first order. The one place that turns readings into vectors: the reader of
// raw survey data and the analysis both use it.

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
