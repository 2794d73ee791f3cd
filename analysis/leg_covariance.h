#pragma once
// The legs the analysis can use and their covariances as Eigen matrices:
// a leg is measured when the survey holds a finite vector and covariance for
// it and it is not a nosurvey leg; its covariance is made invertible where
// the readings leave it singular (a zero-length leg, a zero standard
// deviation).

#include <Eigen/Dense>
#include <array>
#include <cstdint>

#include "core/vector3.h"
#include "surveys/survey.h"

using TMatrix3 = Eigen::Matrix3d;
using TVector3 = Eigen::Vector3d;

inline TVector3 ToEigen(Vec3 v) { return {v.X, v.Y, v.Z}; }
inline Vec3 FromEigen(const TVector3& v) { return MakeVec3(v.x(), v.y(), v.z()); }

// XX, XY, XZ, YY, YZ, ZZ to a full symmetric matrix and back.
TMatrix3 UnpackSymmetric(const std::array<double, 6>& packed);
std::array<double, 6> PackSymmetric(const TMatrix3& m);

// True when leg has raw data the analysis can use.
bool IsMeasuredLeg(const TSurvey& survey, int32_t leg);

// The covariance with every eigenvalue raised to at least 1e-6 of the
// largest, and to at least 1e-12 m^2 (1 um standard deviation): a singular or
// slightly indefinite covariance gets a weight matrix without changing the
// directions the readings do constrain.
TMatrix3 UsableCovariance(const std::array<double, 6>& packed);
