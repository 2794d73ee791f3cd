#pragma once
// One leg of Survex raw data from its readings: fore and back readings
// combined as Survex combines them (each pair averaged, weighted by the
// inverse of its variance, the back compass turned round and the back clino
// negated; a reading missing on one side is taken from the other), the
// vector from the combined readings, and its covariance from the readings'
// standard deviations propagated through the vector's formula.

#include <limits>
#include <string>

#include "surveys/survey.h"

// The readings of one data line after units and calibration, in metres and
// degrees (bearings include the declination); NaN when not taken.
struct TSvxShot {
  static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  TLegStyle Style = TLegStyle::Normal;
  double Tape = kNone, BackTape = kNone;
  double Compass = kNone, BackCompass = kNone;
  double Clino = kNone, BackClino = kNone;  // for Up, Down and Level: +90, -90, 0
  TClinoKind ClinoKind = TClinoKind::Omitted, BackClinoKind = TClinoKind::Omitted;
  double FromDepth = kNone, ToDepth = kNone, DepthChange = kNone;
  double Dx = kNone, Dy = kNone, Dz = kNone;  // east, north, up
};

// Standard deviations in metres and degrees.
struct TSvxShotSd {
  double Tape = 0.05, BackTape = 0.05, Compass = 0.5, BackCompass = 0.5, Clino = 0.5, BackClino = 0.5;
  double Declination = 0, Depth = 0.05, Dx = 0.05, Dy = 0.05, Dz = 0.05, Level = 0.5, Plumb = 0.5;
};

// Fills the readings, Clinometer, Vector, Covariance and SDs of m from the
// shot. Returns "" or what is wrong with the readings (a tape or a compass
// reading missing on both sides, clino readings of different kinds).
std::string ComputeSvxLeg(const TSvxShot& shot, const TSvxShotSd& sd, TLegMeasurement& m);

// Folds a repeated measurement of the same leg into m, which already
// averages m.Shots measurements: the vector, the readings and the
// covariance become those of the mean.
void AverageRepeatedLeg(TLegMeasurement& m, const TLegMeasurement& repeat);
